#include "tests/image/image_fixture.h"

namespace {

using IconReader = ImageTest;

TEST_F(IconReader, TakesTheDeepestImageOfTheFirstSizeBeforeAnyDecoder) {
  InitDecoderRegistry();
  ASSERT_TRUE(RegisterDecoder(kCountingDecoder));
  g_offered = 0;
  const int64_t id = Load(MakeIcon({{16, 16, 4, IconBitmap(16, 16, 4)},
                                    {32, 32, 32, IconBitmap(32, 32, 32)},
                                    {16, 16, 8, IconBitmap(16, 16, 8)},
                                    {16, 16, 8, IconBitmap(17, 16, 8)}}));  // a tie: not taken
  ASSERT_NE(id, 0);
  EXPECT_EQ(g_offered, 0);
  EXPECT_EQ(Describe(id), (Description{kFormatIcon, 16, 16, 8, 8, 1}));
}

TEST_F(IconReader, BitmapImageTakesItsSizeFromItsHeader) {
  // The header's height counts colour and mask rows: the icon is half as high.
  const int64_t id = Load(MakeIcon({{8, 24, 4, IconBitmap(8, 24, 4)}}));
  ASSERT_NE(id, 0);
  EXPECT_EQ(Describe(id), (Description{kFormatIcon, 8, 24, 4, 4, 1}));
}

TEST_F(IconReader, PngImageTakesItsSizeFromThePngHeader) {
  const Bytes png = EncodePng(MakePngPicture(6, 8, 300, {Bytes(300 * 4), Bytes(300 * 4)}));
  const int64_t id = Load(MakeIcon({{0, 0, 32, png}}));
  ASSERT_NE(id, 0);
  EXPECT_EQ(Describe(id), (Description{kFormatIcon, 300, 2, 32, 32, 1}));
}

TEST_F(IconReader, ImagesOutsideTheDataAreNotIcons) {
  const Bytes good = MakeIcon({{16, 16, 8, IconBitmap(16, 16, 8)}});
  // The image cut short, the directory cut short, an offset far beyond the end.
  EXPECT_EQ(Load(Bytes(good.begin(), good.end() - 1)), 0);
  EXPECT_EQ(Load(Bytes(good.begin(), good.begin() + 12)), 0);
  Bytes far = good;
  far[6 + 15] = 0x80;
  EXPECT_EQ(Load(far), 0);
  // An entry whose header says its colour rows need more bytes than it has.
  Bytes short_rows = MakeIcon({{16, 16, 8, IconBitmap(16, 16, 8)}});
  short_rows[6 + 16 + 4] = 64;  // header width 64
  EXPECT_EQ(Load(short_rows), 0);
  // Colour rows that end exactly where the image's bytes do are enough (no mask needed);
  // one byte fewer is not.
  Bytes colour_only = IconBitmap(16, 16, 8);
  colour_only.resize(colour_only.size() - 64);  // the mask: 4 bytes per row
  EXPECT_NE(Load(MakeIcon({{16, 16, 8, colour_only}})), 0);
  colour_only.pop_back();
  EXPECT_EQ(Load(MakeIcon({{16, 16, 8, colour_only}})), 0);
  // No entries at all, no room for the count, no room for the type.
  EXPECT_EQ(Load({0, 0, 1, 0, 0, 0}), 0);
  EXPECT_EQ(Load({0, 0, 1, 0}), 0);
  EXPECT_EQ(Load({0, 0}), 0);
  EXPECT_NE(Load(good), 0);
}

}  // namespace
