#pragma once
// Icon files (first bytes 00 00 01 00): the built-in format tried before any registered
// decoder. An icon is held as the icon, never decoded into frames.
#include <cstdint>
#include <optional>

#include "image/decoder.h"
#include "image/image_source.h"

struct Icon {
  int32_t width = 0;
  int32_t height = 0;
  int bits = 0;  // bits per pixel of the chosen image
};

// The icon image chosen from the directory: among the entries of the first entry's size,
// the deepest (the earliest on a tie). Nothing when the data is not an icon file, or the
// chosen image does not lie inside the data or is not a usable bitmap or PNG image.
// Only headers are read, so this is the whole of the icon reader's decision.
std::optional<Icon> ReadIcon(ImageSource& source);

// The icon reader as a descriptor, for the registry's first entry.
const DecoderDescriptor& IconDescriptor();
