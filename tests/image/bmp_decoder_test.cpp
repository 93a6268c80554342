#include "tests/image/image_fixture.h"

namespace {

using BmpDecoder = ImageTest;
using Bgra = std::array<int, 4>;

// Palette quads: 0 black, 1 (blue 10, green 20, red 30), 2 (40, 50, 60).
const Bytes kPalette{0, 0, 0, 0, 10, 20, 30, 0, 40, 50, 60, 0};

TEST_F(BmpDecoder, ThirtyTwoBitsKeepAlphaOnlyWhenSomeFourthByteIsSet) {
  Bytes pixels{1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0, 10, 11, 12, 0};
  const int64_t opaque = Load(MakeBmp(2, 2, 32, 0, {}, pixels));
  ASSERT_NE(opaque, 0);
  EXPECT_EQ(Image(opaque).format_id, kFormatBmp);
  EXPECT_EQ(Image(opaque).depth, 24);
  EXPECT_EQ(Image(opaque).source_depth, 32);
  EXPECT_EQ(Pixel(opaque, 0, 1), (Bgra{1, 2, 3, 0}));  // the file's first row is the bottom
  EXPECT_EQ(Pixel(opaque, 1, 0), (Bgra{10, 11, 12, 0}));

  pixels[15] = 200;
  const int64_t alpha = Load(MakeBmp(2, 2, 32, 0, {}, pixels));
  ASSERT_NE(alpha, 0);
  EXPECT_EQ(Image(alpha).depth, 32);
  EXPECT_EQ(Pixel(alpha, 1, 0), (Bgra{10, 11, 12, 200}));
  EXPECT_EQ(Pixel(alpha, 0, 1), (Bgra{1, 2, 3, 0}));
}

TEST_F(BmpDecoder, TopDownRowsLandTheRightWayUp) {
  const Bytes rows{1, 2, 3, 0, 4, 5, 6, 0};  // one pixel per row, padded to 4 bytes
  const int64_t bottom_up = Load(MakeBmp(1, 2, 24, 0, {}, rows));
  const int64_t top_down = Load(MakeBmp(1, -2, 24, 0, {}, rows));
  ASSERT_NE(bottom_up, 0);
  ASSERT_NE(top_down, 0);
  EXPECT_EQ(ImagePixelHeight(top_down), 2);
  EXPECT_EQ(Pixel(bottom_up, 0, 0), (Bgra{4, 5, 6, 0}));
  EXPECT_EQ(Pixel(top_down, 0, 0), (Bgra{1, 2, 3, 0}));
  EXPECT_EQ(Pixel(top_down, 0, 1), (Bgra{4, 5, 6, 0}));
}

TEST_F(BmpDecoder, PaletteAndPackedPixels) {
  const int64_t one = Load(MakeBmp(8, 1, 1, 0, kPalette, {0xA5, 0, 0, 0}));
  ASSERT_NE(one, 0);
  EXPECT_EQ(Image(one).source_depth, 1);
  EXPECT_EQ(Pixel(one, 0, 0), (Bgra{255, 255, 255, 0}));  // bit 1 white, palette unused
  EXPECT_EQ(Pixel(one, 1, 0), (Bgra{0, 0, 0, 0}));

  const int64_t four = Load(MakeBmp(3, 1, 4, 0, kPalette, {0x12, 0x00, 0, 0}));
  ASSERT_NE(four, 0);
  EXPECT_EQ(Pixel(four, 0, 0), (Bgra{10, 20, 30, 0}));
  EXPECT_EQ(Pixel(four, 1, 0), (Bgra{40, 50, 60, 0}));
  EXPECT_EQ(Pixel(four, 2, 0), (Bgra{0, 0, 0, 0}));

  const int64_t eight = Load(MakeBmp(2, 1, 8, 0, kPalette, {2, 1, 0, 0}));
  ASSERT_NE(eight, 0);
  EXPECT_EQ(Pixel(eight, 0, 0), (Bgra{40, 50, 60, 0}));
  EXPECT_EQ(Pixel(eight, 1, 0), (Bgra{10, 20, 30, 0}));

  // An index beyond the end of the data has no palette entry: the load fails.
  Bytes far = MakeBmp(1, 1, 8, 0, {}, {255, 0, 0, 0});
  EXPECT_EQ(Load(far), 0);
}

TEST_F(BmpDecoder, SixteenBitsFiveFiveFiveAndBitFields) {
  const int64_t rgb555 = Load(MakeBmp(2, 1, 16, 0, {}, {0x00, 0x7C, 0x1F, 0x00}));
  ASSERT_NE(rgb555, 0);
  EXPECT_EQ(Pixel(rgb555, 0, 0), (Bgra{0, 0, 248, 0}));
  EXPECT_EQ(Pixel(rgb555, 1, 0), (Bgra{248, 0, 0, 0}));

  const int64_t rgb565 = Load(MakeBmp(2, 1, 16, 3, {}, {0x00, 0xF8, 0xE0, 0x07}));
  ASSERT_NE(rgb565, 0);
  EXPECT_EQ(Pixel(rgb565, 0, 0), (Bgra{0, 0, 248, 0}));
  EXPECT_EQ(Pixel(rgb565, 1, 0), (Bgra{0, 252, 0, 0}));
}

TEST_F(BmpDecoder, Rle8RunsLiteralsAndDeltasStayInsideThePicture) {
  const Bytes rle{2, 1, 0, 0,              // bottom row: two of index 1, end of line
                  0, 3, 2, 1, 2, 0, 0, 0,  // literal 2 1 2 (padded), end of line
                  0, 2, 1, 0, 5, 2,        // one right, then five of index 2: cut at the row's end
                  0, 2, 0, 9, 3, 1,        // nine rows down, beyond the picture: the run is dropped
                  0, 1};                   // end of bitmap
  const int64_t id = Load(MakeBmp(4, 3, 8, 1, kPalette, rle));
  ASSERT_NE(id, 0);
  const Bgra none{0, 0, 0, 0}, one{10, 20, 30, 0}, two{40, 50, 60, 0};
  EXPECT_EQ(Pixel(id, 0, 2), one);
  EXPECT_EQ(Pixel(id, 1, 2), one);
  EXPECT_EQ(Pixel(id, 2, 2), none);
  EXPECT_EQ(Pixel(id, 0, 1), two);
  EXPECT_EQ(Pixel(id, 1, 1), one);
  EXPECT_EQ(Pixel(id, 2, 1), two);
  EXPECT_EQ(Pixel(id, 3, 1), none);
  EXPECT_EQ(Pixel(id, 0, 0), none);
  EXPECT_EQ(Pixel(id, 3, 0), two);

  // Data that ends before the end-of-bitmap escape fails.
  EXPECT_EQ(Load(MakeBmp(4, 3, 8, 1, kPalette, Bytes(rle.begin(), rle.end() - 2))), 0);
}

TEST_F(BmpDecoder, RefusesWhatCannotBeRead) {
  // Too short for its rows.
  EXPECT_EQ(Load(MakeBmp(4, 4, 24, 0, {}, Bytes(12 * 3 + 11))), 0);
  EXPECT_NE(Load(MakeBmp(4, 4, 24, 0, {}, Bytes(12 * 4))), 0);
  // Reserved words not zero.
  Bytes reserved = MakeBmp(1, 1, 24, 0, {}, Bytes(4));
  reserved[6] = 1;
  EXPECT_EQ(Load(reserved), 0);
  // A pixel-data offset beyond the data.
  Bytes offset = MakeBmp(1, 1, 24, 0, {}, Bytes(4));
  offset[13] = 0x40;
  EXPECT_EQ(Load(offset), 0);
  // The lowest height has no positive counterpart.
  EXPECT_EQ(Load(MakeBmp(1, INT32_MIN, 24, 0, {}, Bytes(4))), 0);
}

TEST_F(BmpDecoder, HugePictureFromASmallFileIsNotAllocated) {
  // RLE data is tiny whatever the picture's size, so only the pixel limit stops this.
  SetMemoryBytesForTesting(uint64_t{16} << 30);
  EXPECT_EQ(Load(MakeBmp(100000, 100000, 8, 1, kPalette, {0, 1})), 0);
  EXPECT_EQ(Load(MakeBmp(100000, 100000, 24, 0, {}, Bytes(64))), 0);
}

TEST_F(BmpDecoder, OnlyTheBitCountsAndCompressionsOfTheFormat) {
  // 62 bytes claiming 1 x 2147483647 pixels of a bit count the format lacks.
  for (const int bits : {0, 2, 3, 5, 7, 48}) {
    EXPECT_EQ(Load(MakeBmp(1, INT32_MAX, bits, 0, {}, Bytes(8))), 0) << bits << " bits";
  }
  // Run-length coding for the wrong bit count, bit fields for a palette, unknown codes.
  EXPECT_EQ(Load(MakeBmp(2, 1, 24, 1, {}, Bytes(8))), 0);
  EXPECT_EQ(Load(MakeBmp(2, 1, 8, 2, kPalette, Bytes(4))), 0);
  EXPECT_EQ(Load(MakeBmp(2, 1, 8, 3, kPalette, Bytes(4))), 0);
  EXPECT_EQ(Load(MakeBmp(2, 1, 24, 7, {}, Bytes(8))), 0);
  // Each defined pair still loads; RLE4 pixels, which are not decoded, must at least
  // begin inside the data.
  EXPECT_NE(Load(MakeBmp(2, 1, 32, 3, {}, Bytes(8))), 0);
  EXPECT_NE(Load(MakeBmp(2, 1, 16, 6, {}, Bytes(4))), 0);
  EXPECT_NE(Load(MakeBmp(2, 1, 4, 2, kPalette, {0, 1})), 0);
  EXPECT_EQ(Load(MakeBmp(2, 1, 4, 2, kPalette, {})), 0);
}

}  // namespace
