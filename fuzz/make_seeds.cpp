// Writes the seed corpus of every fuzz target into DIR/<target>/, made with the tests'
// own image makers: a few small, valid files of each kind the target reads.
#include <cstdio>
// jpeglib.h needs stdio's types first.
#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/deflate_streams.h"
#include "support/test_images.h"

namespace {

namespace stdfs = std::filesystem;

Bytes FromString(const std::string& text) { return Bytes(text.begin(), text.end()); }

std::vector<Bytes> Bmps() {
  const Bytes palette = {0, 0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 0};
  return {
      MakeBmp(2, 2, 32, 0, {}, Bytes(16, 200)),
      MakeBmp(3, -2, 24, 0, {}, Bytes(24, 60)),
      MakeBmp(8, 1, 1, 0, palette, {0xA5, 0, 0, 0}),
      MakeBmp(3, 1, 4, 0, palette, {0x12, 0x00, 0, 0}),
      MakeBmp(2, 1, 8, 0, palette, {2, 1, 0, 0}),
      MakeBmp(2, 1, 16, 3, {}, {0x00, 0xF8, 0xE0, 0x07}),
      MakeBmp(4, 2, 8, 1, palette, {4, 1, 0, 0, 2, 2, 2, 1, 0, 1}),  // RLE8: runs, end of line, end
  };
}

std::vector<Bytes> Icons() {
  return {
      MakeIcon({{16, 16, 32, IconBitmap(16, 16, 32)}, {16, 16, 8, IconBitmap(16, 16, 8)}}),
      MakeIcon({{24, 12, 4, IconBitmap(24, 12, 4)}}),
      MakeIcon({{8, 8, 32, FromString(EncodeTestPng(8, 8))}}),
  };
}

// Samples that change from pixel to pixel, so that every scan of a stream has data.
Bytes Ramp(size_t count) {
  Bytes bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(i * 37 % 251);
  return bytes;
}

std::vector<Bytes> Images() {
  std::vector<Bytes> images = {
      FromString(EncodeTestPng(7, 5)),
      FromString(EncodeTestJpeg(9, 6)),
      FromString(EncodeTestGif(6, 4)),
      EncodeJpeg(8, 8, 1, JCS_GRAYSCALE, Bytes(64, 128)),
      EncodeJpeg(16, 8, 3, JCS_RGB, Bytes(16 * 8 * 3, 77), true),
      EncodeJpeg(8, 8, 4, JCS_CMYK, Bytes(8 * 8 * 4, 20)),
      // Progressive streams taller than the few rows of coefficients measuring keeps.
      EncodeJpeg(24, 104, 3, JCS_RGB, Ramp(24 * 104 * 3), true, 75),
      EncodeJpeg(24, 104, 3, JCS_RGB, Ramp(24 * 104 * 3), true, 75, 2),
      EncodeJpeg(8, 120, 1, JCS_GRAYSCALE, Ramp(8 * 120), true, 75),
  };
  PngPicture interlaced = MakePngPicture(PNG_COLOR_TYPE_RGB_ALPHA, 16, 3, std::vector<Bytes>(3, Bytes(3 * 8, 9)));
  interlaced.interlaced = true;
  images.push_back(EncodePng(interlaced));
  PngPicture indexed = MakePngPicture(PNG_COLOR_TYPE_PALETTE, 2, 4, {{0x1B}, {0xE4}});
  indexed.palette = {0, 0, 0, 255, 255, 255, 255, 0, 0};
  indexed.palette_alpha = {0, 128};
  images.push_back(EncodePng(indexed));
  const GifFrame first{0, 0, 4, 4, Bytes(16, 1), {}, 1, 10, 0, true};
  const GifFrame second{1, 1, 2, 2, {2, 0, 2, 0}, {{9, 9, 9}, {1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, 2, 10, 0, true};
  images.push_back(EncodeGif(6, 5, {{0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {0, 255, 0}}, 0, {first, second}));
  for (const std::vector<Bytes>& more : {Bmps(), Icons()}) images.insert(images.end(), more.begin(), more.end());
  return images;
}

// The text targets read their first byte as the way to read the rest.
std::vector<Bytes> Texts() {
  const std::vector<std::string> bodies = {
      std::string("one\r\ntwo\nthree\rfour\0five", 24), "caf\xC3\xA9 \xE9 \xF0\x9F\x96\xBC\r\n",
      std::string("\xFF\xFEh\0i\0\r\0\n\0", 10),                        // UTF-16 with its byte order mark
      std::string(5000, 'x') + "\r\n" + std::string(4095, 'y') + "\n",  // across the 4096-byte buffer
  };
  std::vector<Bytes> texts;
  for (const uint8_t way : {0x00, 0x11, 0x22, 0x3B, 0x46, 0x6D}) {
    for (const std::string& body : bodies) {
      Bytes text = {way};
      text.insert(text.end(), body.begin(), body.end());
      texts.push_back(std::move(text));
    }
  }
  return texts;
}

// Every format the loader reads, and Radiance headers in two orientations.
std::vector<Bytes> QuickSeeds() {
  std::vector<Bytes> seeds = Images();
  seeds.push_back(FromString("#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 2 +X 3\n\x01\x02\x03\x04"));
  seeds.push_back(FromString("#?RGBE\n\n+X 4 -Y 1\n"));
  return seeds;
}

// A PNG's image data as raw deflate data: its IDAT chunks joined, the zlib header and
// trailer left out.
Bytes PngDeflateData(const Bytes& png) {
  Bytes data;
  for (size_t at = 8; at + 12 <= png.size();) {
    const size_t length = size_t{png[at]} << 24 | size_t{png[at + 1]} << 16 | size_t{png[at + 2]} << 8 | png[at + 3];
    if (length > png.size() - at - 12) break;
    if (std::equal(png.begin() + static_cast<ptrdiff_t>(at + 4), png.begin() + static_cast<ptrdiff_t>(at + 8), "IDAT"))
      data.insert(data.end(), png.begin() + static_cast<ptrdiff_t>(at + 8),
                  png.begin() + static_cast<ptrdiff_t>(at + 8 + length));
    at += 12 + length;
  }
  if (data.size() < 6) return {};
  return Bytes(data.begin() + 2, data.end() - 4);
}

// Raw deflate data behind a first byte giving the size of the pieces it is fed in: the
// hand-made streams, zlib's own blocks of every kind (stored, fixed, dynamic), and the
// image data of PNGs written by libpng, one of them a photo-like picture of 160 x 120.
std::vector<Bytes> DeflateSeeds() {
  std::vector<Bytes> streams = {SoundDeflateStream()};
  std::vector<Bytes> pngs;
  for (Bytes& image : Images()) {
    if (image.size() > 8 && image[1] == 'P' && image[2] == 'N' && image[3] == 'G') pngs.push_back(std::move(image));
  }
  std::vector<Bytes> rows(120, Bytes(160 * 3));
  for (size_t y = 0; y < rows.size(); ++y) {
    for (size_t x = 0; x < rows[y].size(); ++x) rows[y][x] = static_cast<uint8_t>((x * 3 + y * 5) / 4 + (x * y) % 7);
  }
  pngs.push_back(EncodePng(MakePngPicture(PNG_COLOR_TYPE_RGB, 8, 160, rows)));
  for (const Bytes& png : pngs) {
    if (Bytes data = PngDeflateData(png); !data.empty()) streams.push_back(std::move(data));
  }
  for (const auto& refused : RefusedDeflateStreams()) streams.push_back(refused.stream);
  Bytes text;
  for (int i = 0; i < 3000; ++i) text.push_back(static_cast<uint8_t>("abcab  abracadabra"[i % 18] + i / 1000));
  for (const auto& [level, strategy] :
       {std::pair{0, Z_DEFAULT_STRATEGY}, {1, Z_FIXED}, {6, Z_DEFAULT_STRATEGY}, {9, Z_HUFFMAN_ONLY}, {9, Z_RLE}}) {
    streams.push_back(ZlibRawDeflate(text, level, 15, strategy));
  }
  std::vector<Bytes> seeds;
  for (const uint8_t piece : {0, 7}) {
    for (const Bytes& stream : streams) {
      seeds.push_back({piece});
      seeds.back().insert(seeds.back().end(), stream.begin(), stream.end());
    }
  }
  return seeds;
}

// The GIFs among the images.
std::vector<Bytes> Gifs() {
  std::vector<Bytes> gifs;
  for (Bytes& image : Images()) {
    if (image.size() >= 3 && image[0] == 'G' && image[1] == 'I' && image[2] == 'F') gifs.push_back(std::move(image));
  }
  return gifs;
}

bool Write(const stdfs::path& folder, const std::vector<Bytes>& seeds) {
  std::error_code error;
  stdfs::create_directories(folder, error);
  for (size_t i = 0; i < seeds.size(); ++i) {
    std::ofstream out(folder / ("seed-" + std::to_string(i)), std::ios::binary);
    out.write(reinterpret_cast<const char*>(seeds[i].data()), static_cast<std::streamsize>(seeds[i].size()));
    if (!out) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: fuzz_seeds DIR\n", stderr);
    return 2;
  }
  const stdfs::path root = argv[1];
  const bool written = Write(root / "decode_image", Images()) && Write(root / "measure_image", Images()) &&
                       Write(root / "quick_size", QuickSeeds()) && Write(root / "bmp_decoder", Bmps()) &&
                       Write(root / "gif_image_data", Gifs()) && Write(root / "icon_reader", Icons()) &&
                       Write(root / "file_read_line", Texts()) && Write(root / "text_from_bytes", Texts()) &&
                       Write(root / "inflate_isal", DeflateSeeds()) && Write(root / "raw_inflater", DeflateSeeds());
  if (!written) std::fprintf(stderr, "fuzz_seeds: cannot write the seeds below %s\n", argv[1]);
  return written ? 0 : 1;
}
