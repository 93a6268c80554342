#pragma once
// Pictures for the picture window's tests, the same on every window system.
#include <cstdint>
#include <optional>

#include "image/bitmap.h"

struct TestColour {
  uint8_t red, green, blue;
};

// A 24-bit picture of one colour, its top row red, so that a picture drawn upside down
// is seen.
inline std::optional<Bitmap> SolidPicture(int32_t width, int32_t height, TestColour colour) {
  auto picture = Bitmap::Create(width, height, 24, 0);
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = picture->Bits() + ptrdiff_t{height - 1 - y} * picture->Pitch();
    const TestColour c = y == 0 ? TestColour{255, 0, 0} : colour;
    for (int32_t x = 0; x < width; ++x) {
      row[3 * x] = c.blue;
      row[3 * x + 1] = c.green;
      row[3 * x + 2] = c.red;
    }
  }
  return picture;
}
