#pragma once
// Test images made with the real encoders (libpng, libjpeg, giflib) or as explicit bytes.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

struct PngPicture {
  uint32_t width = 0;
  uint32_t height = 0;
  int colour_type = 0;  // PNG_COLOR_TYPE_*
  int bit_depth = 8;
  bool interlaced = false;
  std::vector<Bytes> rows;                         // packed as stored (16-bit samples big-endian)
  Bytes palette;                                   // red, green, blue triples
  Bytes palette_alpha;                             // tRNS for a palette image
  std::optional<uint16_t> grey_key;                // tRNS for grey
  std::optional<std::array<uint16_t, 3>> rgb_key;  // tRNS for RGB
  bool write_end = true;                           // false: no IEND
};
// A picture as large as its rows, without palette or transparency.
PngPicture MakePngPicture(int colour_type, int bits, uint32_t width, std::vector<Bytes> rows);
Bytes EncodePng(const PngPicture& picture);

// samples: rows top-down, `components` samples per pixel; space is J_COLOR_SPACE.
Bytes EncodeJpeg(int width, int height, int components, int space, const Bytes& samples, bool progressive = false,
                 int quality = 100, unsigned restart_interval = 0);

struct GifRgb {
  uint8_t r, g, b;
};
struct GifFrame {
  int left = 0, top = 0, width = 0, height = 0;
  Bytes raster;                   // indices, top-down
  std::vector<GifRgb> local_map;  // empty: use the global map
  int disposal = 0;
  int delay = 0;  // hundredths of a second
  int transparent = -1;
  bool control = false;  // write a graphic control extension
};
Bytes EncodeGif(int width, int height, const std::vector<GifRgb>& global_map, int background,
                const std::vector<GifFrame>& frames);

// A BMP file: file and info header, palette (blue, green, red, 0 quads), then pixel_data.
Bytes MakeBmp(int32_t width, int32_t height, int bits, uint32_t compression, const Bytes& palette,
              const Bytes& pixel_data);

// An icon image as a bitmap: info header (height doubled for the mask), zero palette and
// zero colour and mask rows.
Bytes IconBitmap(int32_t width, int32_t height, int bits);
struct IconEntry {
  uint8_t width, height;
  int bits;
  Bytes image;
};
Bytes MakeIcon(const std::vector<IconEntry>& entries);

// Plain pictures of a given size, as file contents: a colour gradient so the encoders
// have something to encode.
std::string EncodeTestPng(int width, int height);
std::string EncodeTestJpeg(int width, int height);
std::string EncodeTestGif(int width, int height);
