#include "image/bitmap_shrink.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A picture whose pixels, top row first, have these values in every channel.
Bitmap Grey(int32_t width, int32_t height, int depth, const std::vector<uint8_t>& values) {
  std::optional<Bitmap> picture = Bitmap::Create(width, height, depth, 0);
  const int channels = depth / 8;
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = picture->Bits() + ptrdiff_t{height - 1 - y} * picture->Pitch();
    for (int32_t x = 0; x < width; ++x)
      for (int c = 0; c < channels; ++c) row[x * channels + c] = values[static_cast<size_t>(y * width + x)];
  }
  return std::move(*picture);
}

std::vector<uint8_t> Values(const Bitmap& picture) {
  std::vector<uint8_t> values;
  const int channels = picture.Depth() / 8;
  for (int32_t y = 0; y < picture.Height(); ++y) {
    const std::span<const uint8_t> row = picture.PictureRow(y);
    for (int32_t x = 0; x < picture.Width(); ++x) {
      for (int c = 1; c < channels; ++c) EXPECT_EQ(row[x * channels + c], row[x * channels]) << x << "," << y;
      values.push_back(row[static_cast<size_t>(x * channels)]);
    }
  }
  return values;
}

TEST(ShrinkBitmap, EachPixelIsTheRoundedAverageOfThoseItStandsForTheRightWayUp) {
  // 4 x 2 to 2 x 1: two blocks of 2 x 2.
  const Bitmap blocks = Grey(4, 2, 24, {0, 10, 100, 200, 20, 31, 100, 201});
  std::optional<Bitmap> small = ShrinkBitmap(blocks, 2, 1);
  ASSERT_TRUE(small);
  EXPECT_EQ(small->Depth(), 24);
  EXPECT_EQ(Values(*small), (std::vector<uint8_t>{15, 150}));
  // 3 x 3 to 2 x 2, alpha included: the first column and row stand alone, the others pair up.
  const Bitmap odd = Grey(3, 3, 32, {10, 20, 40, 50, 60, 80, 90, 100, 120});
  small = ShrinkBitmap(odd, 2, 2);
  ASSERT_TRUE(small);
  EXPECT_EQ(small->Depth(), 32);
  EXPECT_EQ(Values(*small), (std::vector<uint8_t>{10, 30, 70, 90}));
  // Never larger than the picture, never empty.
  small = ShrinkBitmap(odd, 9, 0);
  ASSERT_TRUE(small);
  EXPECT_EQ(small->Width(), 3);
  EXPECT_EQ(small->Height(), 1);
  EXPECT_EQ(Values(*small), (std::vector<uint8_t>{50, 60, 80}));
}

}  // namespace
