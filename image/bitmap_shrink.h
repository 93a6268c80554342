#pragma once
// Making a smaller copy of a picture, for showing it: each pixel of the copy is the
// average of the pixels it stands for.
#include <cstdint>
#include <optional>

#include "image/bitmap.h"

// A copy of the picture at width x height (each at least 1 and at most the picture's
// own), of the same depth; nothing where memory cannot be had.
std::optional<Bitmap> ShrinkBitmap(const Bitmap& picture, int32_t width, int32_t height);
