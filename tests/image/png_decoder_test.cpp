#include <png.h>

#include <cstring>
#include <random>

#include "tests/image/image_fixture.h"

namespace {

using PngDecoder = ImageTest;

PngPicture Grey(uint32_t width, int bits, std::vector<Bytes> rows) {
  return MakePngPicture(PNG_COLOR_TYPE_GRAY, bits, width, std::move(rows));
}

TEST_F(PngDecoder, OneBitGreyIsBlackAndWhiteRightWayUp) {
  const int64_t id = Load(EncodePng(Grey(8, 1, {{0xA0}, {0x0F}})));
  ASSERT_NE(id, 0);
  EXPECT_EQ(Describe(id), (Description{kFormatPng, 8, 2, 24, 1, 1}));
  EXPECT_EQ(Pixel(id, 0, 0), (std::array<int, 4>{255, 255, 255, 0}));
  EXPECT_EQ(Pixel(id, 1, 0), (std::array<int, 4>{0, 0, 0, 0}));
  EXPECT_EQ(Pixel(id, 2, 0)[1], 255);
  EXPECT_EQ(Pixel(id, 0, 1)[0], 0);
  EXPECT_EQ(Pixel(id, 7, 1)[2], 255);
}

TEST_F(PngDecoder, GreyTransparencyBecomesAlpha) {
  PngPicture eight = Grey(4, 8, {{0, 100, 200, 100}});
  eight.grey_key = 100;
  const int64_t id = Load(EncodePng(eight));
  ASSERT_NE(id, 0);
  EXPECT_EQ(Image(id).depth, 32);
  EXPECT_EQ(Image(id).source_depth, 8);
  EXPECT_EQ(Pixel(id, 0, 0), (std::array<int, 4>{0, 0, 0, 255}));
  EXPECT_EQ(Pixel(id, 1, 0), (std::array<int, 4>{100, 100, 100, 0}));
  EXPECT_EQ(Pixel(id, 2, 0), (std::array<int, 4>{200, 200, 200, 255}));
  EXPECT_EQ(Pixel(id, 3, 0)[3], 0);

  // Below 8 bits the source depth is raised to 8.
  PngPicture two = Grey(4, 2, {{0x1B}});  // 0, 1, 2, 3
  two.grey_key = 2;
  const int64_t small = Load(EncodePng(two));
  ASSERT_NE(small, 0);
  EXPECT_EQ(Image(small).depth, 32);
  EXPECT_EQ(Image(small).source_depth, 8);
  EXPECT_EQ(Pixel(small, 2, 0), (std::array<int, 4>{170, 170, 170, 0}));
  EXPECT_EQ(Pixel(small, 3, 0), (std::array<int, 4>{255, 255, 255, 255}));
}

TEST_F(PngDecoder, SixteenBitSamplesAreCutToEight) {
  const int64_t grey = Load(EncodePng(Grey(2, 16, {{0x12, 0x34, 0xFF, 0x00}})));
  ASSERT_NE(grey, 0);
  EXPECT_EQ(Image(grey).depth, 24);
  EXPECT_EQ(Image(grey).source_depth, 16);
  EXPECT_EQ(Pixel(grey, 0, 0)[0], 0x12);
  EXPECT_EQ(Pixel(grey, 1, 0)[2], 0xFF);

  PngPicture rgb = MakePngPicture(PNG_COLOR_TYPE_RGB, 16, 2, {{0x10, 0, 0x20, 0, 0x30, 0, 0xA0, 0, 0xB0, 0, 0xC0, 0}});
  rgb.rgb_key = std::array<uint16_t, 3>{0x1000, 0x2000, 0x3000};
  const int64_t keyed = Load(EncodePng(rgb));
  ASSERT_NE(keyed, 0);
  EXPECT_EQ(Image(keyed).depth, 32);
  EXPECT_EQ(Image(keyed).source_depth, 32);
  EXPECT_EQ(Pixel(keyed, 0, 0), (std::array<int, 4>{0x30, 0x20, 0x10, 0}));
  EXPECT_EQ(Pixel(keyed, 1, 0), (std::array<int, 4>{0xC0, 0xB0, 0xA0, 255}));
}

TEST_F(PngDecoder, ColourAndPaletteImagesComeOutBlueGreenRed) {
  PngPicture palette = MakePngPicture(PNG_COLOR_TYPE_PALETTE, 4, 4, {{0x01, 0x20}});
  palette.palette = {10, 20, 30, 40, 50, 60, 70, 80, 90};
  const int64_t plain = Load(EncodePng(palette));
  ASSERT_NE(plain, 0);
  EXPECT_EQ(Image(plain).depth, 24);
  EXPECT_EQ(Image(plain).source_depth, 4);
  EXPECT_EQ(Pixel(plain, 0, 0), (std::array<int, 4>{30, 20, 10, 0}));
  EXPECT_EQ(Pixel(plain, 1, 0), (std::array<int, 4>{60, 50, 40, 0}));
  EXPECT_EQ(Pixel(plain, 2, 0), (std::array<int, 4>{90, 80, 70, 0}));

  palette.palette_alpha = {255, 0};
  const int64_t keyed = Load(EncodePng(palette));
  ASSERT_NE(keyed, 0);
  EXPECT_EQ(Image(keyed).depth, 32);
  EXPECT_EQ(Image(keyed).source_depth, 32);
  EXPECT_EQ(Pixel(keyed, 0, 0)[3], 255);
  EXPECT_EQ(Pixel(keyed, 1, 0), (std::array<int, 4>{60, 50, 40, 0}));
  EXPECT_EQ(Pixel(keyed, 2, 0)[3], 255);  // beyond the tRNS entries: opaque

  const int64_t rgba = Load(EncodePng(MakePngPicture(PNG_COLOR_TYPE_RGB_ALPHA, 8, 1, {{1, 2, 3, 4}})));
  ASSERT_NE(rgba, 0);
  EXPECT_EQ(Image(rgba).depth, 32);
  EXPECT_EQ(Pixel(rgba, 0, 0), (std::array<int, 4>{3, 2, 1, 4}));

  const int64_t grey_alpha = Load(EncodePng(MakePngPicture(PNG_COLOR_TYPE_GRAY_ALPHA, 8, 1, {{7, 9}})));
  ASSERT_NE(grey_alpha, 0);
  EXPECT_EQ(Image(grey_alpha).depth, 32);
  EXPECT_EQ(Pixel(grey_alpha, 0, 0), (std::array<int, 4>{7, 7, 7, 9}));
}

TEST_F(PngDecoder, InterlacedImageEqualsItsTwin) {
  std::mt19937 random(7);
  std::vector<Bytes> rows(11, Bytes(13 * 3));
  for (Bytes& row : rows)
    for (auto& b : row) b = static_cast<uint8_t>(random());
  PngPicture picture = MakePngPicture(PNG_COLOR_TYPE_RGB, 8, 13, rows);
  const int64_t plain = Load(EncodePng(picture));
  picture.interlaced = true;
  const Bytes interlaced_file = EncodePng(picture);
  const int64_t interlaced = Load(interlaced_file);
  ASSERT_NE(plain, 0);
  ASSERT_NE(interlaced, 0);
  const Bitmap& a = Image(plain).frames[0].bitmap.value();
  const Bitmap& b = Image(interlaced).frames[0].bitmap.value();
  ASSERT_EQ(a.SizeBytes(), b.SizeBytes());
  EXPECT_EQ(0, std::memcmp(a.Bits(), b.Bits(), a.SizeBytes()));
  EXPECT_EQ(Pixel(plain, 12, 10)[2], picture.rows[10][36]);
}

TEST_F(PngDecoder, WidthBeyondSixteenBitsIsExact) {
  const int64_t id = Load(EncodePng(Grey(40000, 8, {Bytes(40000, 9)})));
  ASSERT_NE(id, 0);
  EXPECT_EQ(ImagePixelWidth(id), 40000);
  EXPECT_EQ(ImagePixelHeight(id), 1);
}

TEST_F(PngDecoder, ShortOrCutDataFailsButMissingEndIsTolerated) {
  const Bytes signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A};
  EXPECT_EQ(Load(signature), 0);

  PngPicture picture = Grey(64, 8, std::vector<Bytes>(64, Bytes(64)));
  for (uint32_t y = 0; y < 64; ++y)
    for (uint32_t x = 0; x < 64; ++x) picture.rows[y][x] = static_cast<uint8_t>(x * y + y);
  const Bytes file = EncodePng(picture);
  EXPECT_NE(Load(file), 0);
  // Cut inside the header chunks (Check refuses) and inside the image data (Decode fails).
  EXPECT_EQ(Load(Bytes(file.begin(), file.begin() + 30)), 0);
  EXPECT_EQ(Load(Bytes(file.begin(), file.end() - 20)), 0);

  picture.write_end = false;
  EXPECT_NE(Load(EncodePng(picture)), 0);
}

}  // namespace
