// Every kind of test image, cut short and with bytes flipped: each load must end in a
// result (an image that keeps its invariants, or 0), never in a crash, a leak or a
// sanitizer report.
#include <gif_lib.h>
#include <png.h>

#include <cstdio>

#include <jpeglib.h>

#include "tests/image/image_fixture.h"

namespace {

using DamagedInput = ImageTest;

Bytes Pattern(size_t count, unsigned seed) {
  Bytes b(count);
  for (size_t i = 0; i < count; ++i) b[i] = static_cast<uint8_t>((i * 37 + seed * 11) ^ (i >> 3));
  return b;
}

PngPicture Png(int colour_type, int bits, uint32_t width, uint32_t height, size_t row_bytes) {
  std::vector<Bytes> rows;
  for (uint32_t y = 0; y < height; ++y) rows.push_back(Pattern(row_bytes, y));
  return MakePngPicture(colour_type, bits, width, rows);
}

std::vector<Bytes> Corpus() {
  std::vector<Bytes> corpus;
  corpus.push_back(EncodePng(Png(PNG_COLOR_TYPE_GRAY, 1, 20, 6, 3)));
  PngPicture keyed = Png(PNG_COLOR_TYPE_GRAY, 8, 9, 5, 9);
  keyed.grey_key = 37;
  corpus.push_back(EncodePng(keyed));
  PngPicture rgb16 = Png(PNG_COLOR_TYPE_RGB, 16, 6, 4, 36);
  rgb16.rgb_key = std::array<uint16_t, 3>{1, 2, 3};
  corpus.push_back(EncodePng(rgb16));
  PngPicture palette = Png(PNG_COLOR_TYPE_PALETTE, 8, 7, 7, 7);
  palette.palette = Pattern(3 * 256, 1);
  palette.palette_alpha = {0, 128, 255};
  corpus.push_back(EncodePng(palette));
  PngPicture interlaced = Png(PNG_COLOR_TYPE_RGB_ALPHA, 8, 11, 9, 44);
  interlaced.interlaced = true;
  corpus.push_back(EncodePng(interlaced));

  corpus.push_back(EncodeJpeg(24, 16, 3, JCS_RGB, Pattern(24 * 16 * 3, 2), false, 90));
  corpus.push_back(EncodeJpeg(24, 16, 3, JCS_RGB, Pattern(24 * 16 * 3, 3), true, 90));
  corpus.push_back(EncodeJpeg(16, 8, 1, JCS_GRAYSCALE, Pattern(16 * 8, 4)));
  corpus.push_back(EncodeJpeg(8, 8, 4, JCS_CMYK, Pattern(8 * 8 * 4, 5)));

  const std::vector<GifRgb> map{{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  std::vector<GifFrame> frames;
  for (int i = 0; i < 3; ++i) {
    GifFrame f;
    f.left = i;
    f.top = i;
    f.width = 6;
    f.height = 5;
    f.raster = Pattern(30, static_cast<unsigned>(i));
    for (auto& index : f.raster) index &= 3;
    f.control = true;
    f.disposal = i + 1;
    f.delay = 7;
    f.transparent = i;
    if (i == 1) f.local_map = map;
    frames.push_back(f);
  }
  corpus.push_back(EncodeGif(10, 9, map, 1, frames));

  const Bytes palette_quads = Pattern(4 * 16, 6);
  corpus.push_back(MakeBmp(5, 3, 24, 0, {}, Pattern(16 * 3, 7)));
  corpus.push_back(MakeBmp(3, -3, 32, 0, {}, Pattern(12 * 3, 8)));
  corpus.push_back(MakeBmp(9, 2, 4, 0, palette_quads, Pattern(8, 9)));
  corpus.push_back(MakeBmp(5, 2, 8, 0, palette_quads, Pattern(16, 10)));
  corpus.push_back(MakeBmp(33, 2, 1, 0, palette_quads, Pattern(16, 11)));
  corpus.push_back(MakeBmp(3, 2, 16, 3, {}, Pattern(16, 12)));
  corpus.push_back(MakeBmp(8, 4, 8, 1, palette_quads,
                           {3, 1, 0, 4, 1, 2, 3, 4, 0, 0, 0, 2, 2, 1, 9, 3, 0, 0, 0, 1}));
  corpus.push_back(
      MakeIcon({{16, 16, 4, IconBitmap(16, 16, 4)}, {16, 16, 32, IconBitmap(16, 16, 32)}}));
  corpus.push_back(MakeIcon({{0, 0, 32, corpus[0]}}));
  return corpus;
}

void ExpectSound(const Bytes& data) {
  const int64_t id = DecodeImageMemory(kAutoNumber, data);
  if (id == 0) return;
  const ImageRecord& image = *ImageFind(id);
  ASSERT_GT(image.width, 0);
  ASSERT_GT(image.height, 0);
  if (!image.icon) {
    ASSERT_FALSE(image.frames.empty());
    for (const ImageFrame& frame : image.frames) {
      if (!frame.bitmap) continue;
      ASSERT_EQ(frame.bitmap->Width(), image.width);
      ASSERT_EQ(frame.bitmap->Height(), image.height);
    }
  }
  ReleaseImage(id);
}

TEST_F(DamagedInput, CutShortAtEverySixteenth) {
  for (const Bytes& file : Corpus()) {
    ExpectSound(file);
    for (size_t k = 0; k < 16; ++k) {
      ExpectSound(Bytes(file.begin(), file.begin() + static_cast<ptrdiff_t>(file.size() * k / 16)));
    }
  }
}

TEST_F(DamagedInput, FlippedBytes) {
  for (const Bytes& file : Corpus()) {
    // Every header byte, then positions spread over the rest.
    const size_t step = std::max<size_t>(1, file.size() / 48);
    for (size_t at = 0; at < file.size(); at += at < 128 ? 1 : step) {
      for (const uint8_t mask : {0xFF, 0x80, 0x01}) {
        Bytes damaged = file;
        damaged[at] ^= mask;
        ExpectSound(damaged);
      }
    }
  }
}

}  // namespace
