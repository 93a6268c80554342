#pragma once
// What giflib will hold once it has read a GIF stream whole, counted before it reads it.
//
// DGifSlurp allocates every image's raster (width x height bytes) from its descriptor
// alone, fills it and keeps it, and keeps every extension sub-block too. A small file can
// claim rasters of 65535 x 65535 and, well compressed, fill them: such a stream must be
// refused by its count, before giflib allocates anything.
#include <cstdint>

#include "image/image_source.h"

inline constexpr uint8_t kGifImageRecord = 0x2C;
inline constexpr uint8_t kGifExtensionRecord = 0x21;
inline constexpr uint64_t kGifDescriptorBytes = 9;  // after the record's first byte

// Skips sub-blocks from at up to and including the empty one that ends them, charging
// each non-empty one to held when charge is set. False when the data ends first.
bool SkipGifSubBlocks(ImageSource& source, uint64_t& at, uint64_t& held, bool charge);

// Bytes held for the records from offset on (the first record after the screen
// descriptor and global colour map, or where an earlier reading stopped), walked as
// giflib reads them: up to the trailer, the end of the data or a byte that begins no
// record (where giflib's reading stops too). Each image and each extension sub-block is
// charged its bytes and a fixed amount for the records that giflib and the loader keep.
uint64_t GifStreamHeldBytes(ImageSource& source, uint64_t offset);
