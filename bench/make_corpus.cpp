// Writes a benchmark corpus with the project's own encoders:
//   make_corpus photo FOLDER   photo-like JPEGs (4000 x 3000 and 1920 x 1080, some
//                              progressive, some grey), PNGs of every colour type,
//                              animated GIFs and Radiance HDR files in nested folders
//   make_corpus small FOLDER   20,000 images of 64 x 64 in 300 folders
//   make_corpus large FOLDER   camera-sized noisy photos: 24 MP JPEGs (progressive 4:4:4
//                              and 4:2:0, sequential 4:2:0), 4 and 12 MP PNGs (16-bit,
//                              interlaced, with alpha), a 12000 x 12000 progressive JPEG
//                              and a 16000 x 16000 PNG, written row by row
//   make_corpus tiny FOLDER N  N PNGs of 3 x 2 in folders of 1000, for the window's scans
//   make_corpus flat FOLDER N  N PNGs of 3 x 2 in the folder itself, for its file list
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <png.h>

#include "support/test_images.h"

namespace {

namespace stdfs = std::filesystem;

// A cheap, repeatable noise source.
struct Noise {
  uint32_t state;
  uint8_t Next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<uint8_t>(state);
  }
};

// Smooth light, a little texture and sensor noise, so the encoders work as on a photo:
// row y of it, the noise going on from the row before.
void PhotoRow(int y, int width, int components, uint32_t seed, Noise& noise, uint8_t* out) {
  for (int x = 0; x < width; ++x) {
    const double light = 0.5 + 0.3 * std::sin(x * 0.004 + seed) * std::cos(y * 0.003);
    const double texture = 20 * std::sin(x * 0.09 + y * 0.05);
    for (int c = 0; c < components; ++c) {
      const double value = 255 * light + texture + c * 15 + (noise.Next() % 24) - 12;
      *out++ = static_cast<uint8_t>(std::clamp(value, 0.0, 255.0));
    }
  }
}

Bytes PhotoSamples(int width, int height, int components, uint32_t seed) {
  const size_t stride = static_cast<size_t>(width) * components;
  Bytes samples(stride * height);
  Noise noise{seed | 1};
  for (int y = 0; y < height; ++y) PhotoRow(y, width, components, seed, noise, samples.data() + y * stride);
  return samples;
}

// prefix, number, suffix: "set" 3 "" is set3.
std::string Name(const char* prefix, int number, const char* suffix = "") {
  return std::string(prefix).append(std::to_string(number)).append(suffix);
}

void Write(const stdfs::path& path, const Bytes& bytes) {
  stdfs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes Jpeg(int width, int height, bool grey, bool progressive, uint32_t seed) {
  const int components = grey ? 1 : 3;
  return EncodeJpeg(width, height, components, grey ? JCS_GRAYSCALE : JCS_RGB,
                    PhotoSamples(width, height, components, seed), progressive, 90);
}

// Rows of `bits`-bit samples packed as PNG stores them.
Bytes PngWithType(int colour_type, int bits, int width, int height, bool interlaced, uint32_t seed) {
  const int channels = colour_type == PNG_COLOR_TYPE_RGB          ? 3
                       : colour_type == PNG_COLOR_TYPE_RGB_ALPHA  ? 4
                       : colour_type == PNG_COLOR_TYPE_GRAY_ALPHA ? 2
                                                                  : 1;
  const Bytes samples = PhotoSamples(width, height, channels, seed);
  std::vector<Bytes> rows;
  const size_t row_bytes = (static_cast<size_t>(width) * channels * bits + 7) / 8;
  for (int y = 0; y < height; ++y) {
    Bytes row(row_bytes);
    for (int i = 0; i < width * channels; ++i) {
      const uint8_t sample = samples[static_cast<size_t>(y) * width * channels + i];
      if (bits == 16) {
        row[2 * i] = sample;
        row[2 * i + 1] = sample ^ 0x5A;
      } else if (bits == 8) {
        row[i] = sample;
      } else {
        const int per_byte = 8 / bits;
        const int shift = 8 - bits * (i % per_byte + 1);
        row[i / per_byte] |= static_cast<uint8_t>((sample >> (8 - bits)) << shift);
      }
    }
    rows.push_back(std::move(row));
  }
  PngPicture picture = MakePngPicture(colour_type, bits, static_cast<uint32_t>(width), std::move(rows));
  picture.interlaced = interlaced;
  if (colour_type == PNG_COLOR_TYPE_PALETTE) {
    for (int i = 0; i < (1 << bits); ++i) {
      picture.palette.insert(picture.palette.end(), {static_cast<uint8_t>(i * 255 / ((1 << bits) - 1)),
                                                     static_cast<uint8_t>(i * 7), static_cast<uint8_t>(255 - i)});
    }
  }
  return EncodePng(picture);
}

Bytes AnimatedGif(int width, int height, int frames, uint32_t seed) {
  std::vector<GifRgb> map;
  for (int i = 0; i < 256; ++i)
    map.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i / 2)});
  std::vector<GifFrame> list;
  for (int f = 0; f < frames; ++f) {
    GifFrame frame;
    frame.width = width - f * 4;
    frame.height = height - f * 3;
    frame.left = f * 2;
    frame.top = f;
    frame.control = true;
    frame.delay = 5;
    frame.disposal = f % 3;
    frame.raster = PhotoSamples(frame.width, frame.height, 1, seed + f);
    list.push_back(std::move(frame));
  }
  return EncodeGif(width, height, map, 0, list);
}

Bytes Radiance(int width, int height, int orientation) {
  static const char* const kLines[] = {"-Y %d +X %d", "+Y %d +X %d", "-Y %d -X %d", "+Y %d -X %d"};
  char resolution[64];
  std::snprintf(resolution, sizeof resolution, kLines[orientation % 4], height, width);
  const std::string header = std::string("#?RADIANCE\nFORMAT=32-bit_rle_rgbe\nEXPOSURE=1.0\n\n") + resolution + "\n";
  Bytes bytes(header.begin(), header.end());
  Noise noise{static_cast<uint32_t>(width * 31 + orientation)};
  for (int i = 0; i < width * height; ++i) {
    for (int c = 0; c < 3; ++c) bytes.push_back(noise.Next() | 1);
    bytes.push_back(128);
  }
  return bytes;
}

void Photo(const stdfs::path& root) {
  uint32_t seed = 1;
  for (int i = 0; i < 60; ++i) {  // camera photos, by day
    const auto folder = root / "camera" / Name("2024-0", 1 + i / 20) / Name("day", i % 4);
    Write(folder / Name("IMG_", 1000 + i, ".jpg"), Jpeg(4000, 3000, i % 7 == 3, i % 5 == 1, seed++));
  }
  for (int i = 0; i < 200; ++i) {
    const auto folder = root / "hd" / Name("set", i / 25);
    Write(folder / Name("frame", i, ".jpg"), Jpeg(1920, 1080, i % 9 == 4, i % 4 == 2, seed++));
  }
  const struct {
    int type, bits;
  } kinds[] = {
      {PNG_COLOR_TYPE_GRAY, 1},        {PNG_COLOR_TYPE_GRAY, 2},      {PNG_COLOR_TYPE_GRAY, 4},
      {PNG_COLOR_TYPE_GRAY, 8},        {PNG_COLOR_TYPE_GRAY, 16},     {PNG_COLOR_TYPE_RGB, 8},
      {PNG_COLOR_TYPE_RGB, 16},        {PNG_COLOR_TYPE_PALETTE, 1},   {PNG_COLOR_TYPE_PALETTE, 2},
      {PNG_COLOR_TYPE_PALETTE, 4},     {PNG_COLOR_TYPE_PALETTE, 8},   {PNG_COLOR_TYPE_GRAY_ALPHA, 8},
      {PNG_COLOR_TYPE_GRAY_ALPHA, 16}, {PNG_COLOR_TYPE_RGB_ALPHA, 8}, {PNG_COLOR_TYPE_RGB_ALPHA, 16},
  };
  int n = 0;
  for (int round = 0; round < 8; ++round) {
    for (const auto& kind : kinds) {
      const int width = round % 2 ? 2048 : 1024, height = round % 2 ? 1536 : 768;
      Write(root / "textures" / Name("t", round) / Name("tex", n++, ".png"),
            PngWithType(kind.type, kind.bits, width, height, round % 4 == 3, seed++));
    }
  }
  for (int i = 0; i < 20; ++i) {
    Write(root / "anim" / Name("clip", i, ".gif"), AnimatedGif(480, 360, 12, seed++));
  }
  for (int i = 0; i < 14; ++i) {
    Write(root / "sky" / Name("probe", i, ".hdr"), Radiance(1024, 512, i));
  }
}

// A colour JPEG written to path a row at a time, 4:4:4 or 4:2:0, for pictures too large
// to hold whole.
void StreamJpeg(const stdfs::path& path, int width, int height, bool subsampled, bool progressive, uint32_t seed) {
  stdfs::create_directories(path.parent_path());
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return;
  jpeg_compress_struct c{};
  jpeg_error_mgr errors{};
  c.err = jpeg_std_error(&errors);
  jpeg_create_compress(&c);
  jpeg_stdio_dest(&c, file);
  c.image_width = static_cast<JDIMENSION>(width);
  c.image_height = static_cast<JDIMENSION>(height);
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 92, TRUE);
  const int factor = subsampled ? 2 : 1;
  c.comp_info[0].h_samp_factor = c.comp_info[0].v_samp_factor = factor;
  if (progressive) jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  Bytes row(static_cast<size_t>(width) * 3);
  Noise noise{seed | 1};
  while (c.next_scanline < c.image_height) {
    PhotoRow(static_cast<int>(c.next_scanline), width, 3, seed, noise, row.data());
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&c, rows, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::fclose(file);
}

// An RGB or RGBA PNG, 8 or 16 bits, written to path a row at a time (libpng interlaces).
void StreamPng(const stdfs::path& path, int width, int height, int channels, int bits, bool interlaced, uint32_t seed) {
  stdfs::create_directories(path.parent_path());
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  png_set_compression_level(png, 3);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), bits,
               channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
               interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  const int passes = png_set_interlace_handling(png);
  const size_t samples = static_cast<size_t>(width) * channels;
  Bytes row(samples * bits / 8);
  for (int pass = 0; pass < passes; ++pass) {
    Noise noise{seed | 1};
    for (int y = 0; y < height; ++y) {
      PhotoRow(y, width, channels, seed, noise, row.data());
      if (bits == 16) {  // the 8-bit sample high, a second noise byte low, from the end back
        for (size_t i = samples; i-- > 0;) {
          row[2 * i + 1] = static_cast<uint8_t>(row[i] ^ 0x5A);
          row[2 * i] = row[i];
        }
      }
      png_write_row(png, row.data());
    }
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
}

void Large(const stdfs::path& root) {
  uint32_t seed = 11;
  for (int i = 0; i < 18; ++i) {
    const bool subsampled = i % 3 != 0;
    const bool progressive = i % 3 != 2;
    const char* kind = !subsampled ? "p444" : progressive ? "p420" : "s420";
    StreamJpeg(root / "camera" / kind / Name("DSC_", 100 + i, ".jpg"), 6000, 4000, subsampled, progressive, seed++);
  }
  for (int i = 0; i < 4; ++i) StreamPng(root / "png" / Name("deep", i, ".png"), 2448, 1632, 3, 16, false, seed++);
  for (int i = 0; i < 4; ++i) StreamPng(root / "png" / Name("laced", i, ".png"), 4000, 3000, 3, 8, true, seed++);
  for (int i = 0; i < 4; ++i) StreamPng(root / "png" / Name("alpha", i, ".png"), 4000, 3000, 4, 8, false, seed++);
  StreamJpeg(root / "huge" / "panorama.jpg", 12000, 12000, true, true, seed++);
  StreamPng(root / "huge" / "poster.png", 16000, 16000, 3, 8, false, seed++);
}

void Small(const stdfs::path& root) {
  uint32_t seed = 7;
  const Bytes gif = AnimatedGif(64, 64, 1, seed);
  for (int i = 0; i < 20000; ++i) {
    const auto folder = root / Name("group", i % 20) / Name("set", i / 20 % 15);
    const std::string name = Name("i", i);
    switch (i % 3) {
      case 0:
        Write(folder / (name + ".png"), PngWithType(PNG_COLOR_TYPE_RGB, 8, 64, 64, false, seed++));
        break;
      case 1:
        Write(folder / (name + ".jpg"), Jpeg(64, 64, false, false, seed++));
        break;
      case 2:
        Write(folder / (name + ".gif"), gif);
        break;
    }
  }
}

void Tiny(const stdfs::path& root, int count, bool flat) {
  const std::string png = EncodeTestPng(3, 2);
  for (int i = 0; i < count; ++i)
    Write((flat ? root : root / Name("d", i / 1000)) / Name("image-", i, ".png"), Bytes(png.begin(), png.end()));
}

}  // namespace

int main(int argc, char** argv) {
  const std::string preset = argc >= 3 ? argv[1] : "";
  if ((preset == "tiny" || preset == "flat") && argc == 4) {
    Tiny(argv[2], std::atoi(argv[3]), preset == "flat");
    return 0;
  }
  if (argc != 3 || (preset != "photo" && preset != "small" && preset != "large")) {
    std::fprintf(stderr, "usage: make_corpus photo|small|large FOLDER | make_corpus tiny|flat FOLDER COUNT\n");
    return 2;
  }
  if (preset == "photo") Photo(argv[2]);
  if (preset == "small") Small(argv[2]);
  if (preset == "large") Large(argv[2]);
  return 0;
}
