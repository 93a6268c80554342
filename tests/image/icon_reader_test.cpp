#include "tests/image/image_fixture.h"

namespace {

using IconReader = ImageTest;

int g_checks = 0;
bool CountingCheck(DecodeContext&) {
  ++g_checks;
  return false;
}
bool NoDecode(DecodeContext&, uint8_t*, ptrdiff_t, uint32_t) { return false; }
constexpr DecoderDescriptor kCounter{"counter", CountingCheck, NoDecode, FinishDecoder, 0};

TEST_F(IconReader, TakesTheDeepestImageOfTheFirstSizeBeforeAnyDecoder) {
  InitDecoderRegistry();
  ASSERT_TRUE(RegisterDecoder(kCounter));
  g_checks = 0;
  const int64_t id = Load(MakeIcon({{16, 16, 4, IconBitmap(16, 16, 4)},
                                    {32, 32, 32, IconBitmap(32, 32, 32)},
                                    {16, 16, 8, IconBitmap(16, 16, 8)},
                                    {16, 16, 8, IconBitmap(17, 16, 8)}}));  // a tie: not taken
  ASSERT_NE(id, 0);
  EXPECT_EQ(g_checks, 0);
  const ImageRecord& icon = Image(id);
  EXPECT_EQ(icon.format_id, kFormatIcon);
  EXPECT_EQ(icon.width, 16);
  EXPECT_EQ(icon.height, 16);
  EXPECT_EQ(icon.depth, 8);
  EXPECT_EQ(icon.source_depth, 8);
  EXPECT_EQ(icon.frame_count, 1);
}

TEST_F(IconReader, PngImageTakesItsSizeFromThePngHeader) {
  PngPicture picture;
  picture.width = 300;
  picture.height = 2;
  picture.colour_type = 6;
  picture.rows.assign(2, Bytes(300 * 4));
  const int64_t id = Load(MakeIcon({{0, 0, 32, EncodePng(picture)}}));
  ASSERT_NE(id, 0);
  EXPECT_EQ(Image(id).format_id, kFormatIcon);
  EXPECT_EQ(ImagePixelWidth(id), 300);
  EXPECT_EQ(ImagePixelHeight(id), 2);
  EXPECT_EQ(Image(id).depth, 32);
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
  // No entries at all.
  EXPECT_EQ(Load({0, 0, 1, 0, 0, 0}), 0);
  EXPECT_NE(Load(good), 0);
}

}  // namespace
