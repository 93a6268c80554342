#pragma once
// A picture's width and height in pixels.
#include <cstdint>

struct ImageSize {
  int32_t width = 0;
  int32_t height = 0;
};
