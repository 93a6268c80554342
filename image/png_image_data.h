#pragma once
// Checks a PNG's image data (its IDAT chunks) the way libpng's sequential row reader
// would, without handing any row to libpng: inflated in large pieces, rows neither copied
// nor unfiltered. Used when measuring, after libpng has read the chunks before the data.
#include <cstdint>

#include "image/image_source.h"

// The rows the data must hold, from the header libpng accepted.
struct PngRowLayout {
  uint32_t width = 0;
  uint32_t height = 0;
  int pixel_bits = 0;  // bit depth times channels, as stored
  bool interlaced = false;
};

// Sound: reading every row with libpng, as the loader does, succeeds. AskLibpng: it may
// fail, or this check cannot tell: libpng must read the rows and decide.
enum class PngDataVerdict { Sound, AskLibpng };

// first_idat is the offset of the first IDAT chunk's length field.
PngDataVerdict CheckPngImageData(ImageSource& source, uint64_t first_idat, const PngRowLayout& layout);

// Bytes of inflated data the rows take, filter bytes included.
uint64_t PngImageDataBytes(const PngRowLayout& layout);
