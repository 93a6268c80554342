#pragma once
// Measuring a GIF image's LZW data without producing its pixels.
#include <cstdint>

#include "image/image_source.h"

// Reads the LZW data of one image of pixel_count pixels, from position (just past the
// minimum code size byte, code_size) through its terminator block, and moves position
// on by every byte read. It makes giflib's decisions, as reading the image line by line
// with DGifGetLine would: 0 where that succeeds, else giflib's error code (D_GIF_ERR_*),
// with position where giflib's reading would have stopped.
int SkipGifImageData(ImageSource& source, uint64_t& position, int code_size, uint64_t pixel_count);
