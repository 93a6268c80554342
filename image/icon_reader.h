#pragma once
// Icon files (first bytes 00 00 01 00), read before any decoder sees the data.
#include <cstdint>
#include <optional>

#include "image/image_source.h"

struct Icon {
  int32_t width = 0;
  int32_t height = 0;
  int bits = 0;  // bits per pixel of the chosen image
};

// The icon image chosen from the directory: among the entries of the first entry's size,
// the deepest (the earliest on a tie). Nothing when the data is not an icon file, or the
// chosen image does not lie inside the data or is not a usable bitmap or PNG image.
std::optional<Icon> ReadIcon(ImageSource& source);
