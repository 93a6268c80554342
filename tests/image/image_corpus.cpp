#include "tests/image/image_corpus.h"

#include <gif_lib.h>
#include <png.h>

#include <algorithm>
#include <cstdio>

#include <jpeglib.h>

Bytes Pattern(size_t count, unsigned seed) {
  Bytes b(count);
  for (size_t i = 0; i < count; ++i) b[i] = static_cast<uint8_t>((i * 37 + seed * 11) ^ (i >> 3));
  return b;
}

namespace {

PngPicture Png(int colour_type, int bits, uint32_t width, uint32_t height, size_t row_bytes) {
  std::vector<Bytes> rows;
  for (uint32_t y = 0; y < height; ++y) rows.push_back(Pattern(row_bytes, y));
  return MakePngPicture(colour_type, bits, width, rows);
}

}  // namespace

std::vector<Bytes> ImageCorpus() {
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
  corpus.push_back(MakeBmp(9, 2, 4, 0, palette_quads, Pattern(16, 9)));
  Bytes indices = Pattern(16, 10);
  for (auto& index : indices) index &= 15;
  corpus.push_back(MakeBmp(5, 2, 8, 0, palette_quads, indices));
  corpus.push_back(MakeBmp(33, 2, 1, 0, palette_quads, Pattern(16, 11)));
  corpus.push_back(MakeBmp(3, 2, 16, 3, {}, Pattern(16, 12)));
  corpus.push_back(MakeBmp(8, 4, 8, 1, palette_quads, {3, 1, 0, 4, 1, 2, 3, 4, 0, 0, 0, 2, 2, 1, 9, 3, 0, 0, 0, 1}));
  corpus.push_back(MakeIcon({{16, 16, 4, IconBitmap(16, 16, 4)}, {16, 16, 32, IconBitmap(16, 16, 32)}}));
  corpus.push_back(MakeIcon({{0, 0, 32, corpus[0]}}));
  // Kinds the damaged-input corpus lacked: more colour types and depths, a progressive
  // greyscale and a CMYK stream, a GIF whose first frame restores the previous canvas,
  // an interlaced GIF, palettes that stop short of the indices used, a 32-bit BMP with
  // alpha, a PNG icon.
  corpus.push_back(EncodePng(Png(PNG_COLOR_TYPE_GRAY_ALPHA, 16, 5, 3, 20)));
  PngPicture two_bits = Png(PNG_COLOR_TYPE_PALETTE, 2, 9, 4, 3);
  two_bits.palette = Pattern(3 * 4, 3);
  corpus.push_back(EncodePng(two_bits));
  corpus.push_back(EncodeJpeg(17, 9, 1, JCS_GRAYSCALE, Pattern(17 * 9, 13), true, 80));
  corpus.push_back(EncodeJpeg(9, 7, 4, JCS_CMYK, Pattern(9 * 7 * 4, 14), true, 90));
  GifFrame restoring;
  restoring.width = 4;
  restoring.height = 3;
  restoring.raster = Pattern(12, 15);
  for (auto& index : restoring.raster) index &= 3;
  restoring.control = true;
  restoring.disposal = 3;
  restoring.transparent = 2;
  corpus.push_back(EncodeGif(6, 5, map, 0, {restoring, frames[0]}));
  // Interlaced: the encoder writes rows in order, which decode just the same.
  GifFrame plain = restoring;
  plain.control = false;
  Bytes interlaced_gif = EncodeGif(6, 5, map, 0, {plain});
  interlaced_gif.at(25 + 9) |= 0x40;  // after the header, screen and 4-colour map: ',
  corpus.push_back(interlaced_gif);
  corpus.push_back(MakeBmp(6, 3, 8, 0, Pattern(4 * 3, 16),
                           {0, 1, 2, 0, 1, 2, 0, 0, 2, 2, 2, 2, 0, 0, 0, 0, 1, 1, 3, 0, 0, 0, 0, 0}));
  corpus.push_back(
      MakeBmp(8, 4, 8, 1, Pattern(4 * 3, 17), {3, 1, 0, 4, 1, 2, 3, 4, 0, 0, 0, 2, 2, 1, 9, 3, 0, 0, 0, 1}));
  Bytes alpha = Pattern(4 * 4 * 2, 18);
  corpus.push_back(MakeBmp(4, 2, 32, 0, {}, alpha));
  corpus.push_back(
      MakeIcon({{0, 0, 32, EncodePng(Png(PNG_COLOR_TYPE_RGB, 8, 7, 5, 21))}, {16, 16, 8, IconBitmap(16, 16, 8)}}));
  return corpus;
}

void ForEachCutAndFlip(const Bytes& file, const std::function<void(const Bytes&, const std::string&)>& check) {
  for (size_t cut = 0; cut < file.size(); cut += 1 + cut / 64) {
    check(Bytes(file.begin(), file.begin() + static_cast<ptrdiff_t>(cut)), "cut");
  }
  const size_t step = std::max<size_t>(1, file.size() / 48);
  for (size_t at = 0; at < file.size(); at += at < 96 ? 1 : step) {
    for (const uint8_t mask : {0xFF, 0x80, 0x01}) {
      Bytes damaged = file;
      damaged[at] ^= mask;
      check(damaged, "byte " + std::to_string(at) + " flipped");
    }
  }
}
