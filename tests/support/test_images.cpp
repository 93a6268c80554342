#include "support/test_images.h"

#include <gif_lib.h>
#include <png.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>

#include <jpeglib.h>

namespace {

void PngWrite(png_structp png, png_bytep data, size_t size) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + size);
}
void PngFlush(png_structp) {}

void Put16(Bytes& b, unsigned v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

}  // namespace

PngPicture MakePngPicture(int colour_type, int bits, uint32_t width, std::vector<Bytes> rows) {
  PngPicture picture;
  picture.width = width;
  picture.height = static_cast<uint32_t>(rows.size());
  picture.colour_type = colour_type;
  picture.bit_depth = bits;
  picture.rows = std::move(rows);
  return picture;
}

Bytes EncodePng(const PngPicture& p) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  // An encoding error aborts the test program: libpng finds no jump point.
  png_set_write_fn(png, &out, PngWrite, PngFlush);
  png_set_IHDR(png, info, p.width, p.height, p.bit_depth, p.colour_type,
               p.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> palette;
  for (size_t i = 0; i + 2 < p.palette.size(); i += 3)
    palette.push_back({p.palette[i], p.palette[i + 1], p.palette[i + 2]});
  if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  if (!p.palette_alpha.empty()) {
    png_set_tRNS(png, info, p.palette_alpha.data(), static_cast<int>(p.palette_alpha.size()), nullptr);
  }
  png_color_16 key{};
  if (p.grey_key) {
    key.gray = *p.grey_key;
    png_set_tRNS(png, info, nullptr, 0, &key);
  }
  if (p.rgb_key) {
    key.red = (*p.rgb_key)[0];
    key.green = (*p.rgb_key)[1];
    key.blue = (*p.rgb_key)[2];
    png_set_tRNS(png, info, nullptr, 0, &key);
  }
  png_write_info(png, info);
  std::vector<png_bytep> rows;
  for (const Bytes& row : p.rows) rows.push_back(const_cast<png_bytep>(row.data()));
  png_write_image(png, rows.data());
  if (p.write_end) png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

Bytes EncodeJpeg(int width, int height, int components, int space, const Bytes& samples, bool progressive, int quality,
                 unsigned restart_interval) {
  jpeg_compress_struct c{};
  jpeg_error_mgr errors{};
  c.err = jpeg_std_error(&errors);
  jpeg_create_compress(&c);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &buffer, &size);
  c.image_width = static_cast<JDIMENSION>(width);
  c.image_height = static_cast<JDIMENSION>(height);
  c.input_components = components;
  c.in_color_space = static_cast<J_COLOR_SPACE>(space);
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, quality, TRUE);
  if (progressive) jpeg_simple_progression(&c);
  c.restart_interval = restart_interval;  // in MCUs
  jpeg_start_compress(&c, TRUE);
  const size_t stride = static_cast<size_t>(width) * static_cast<size_t>(components);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(samples.data() + c.next_scanline * stride);
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  Bytes out(buffer, buffer + size);
  jpeg_destroy_compress(&c);
  std::free(buffer);
  return out;
}

namespace {

int GifWrite(GifFileType* gif, const GifByteType* data, int size) {
  auto* out = static_cast<Bytes*>(gif->UserData);
  out->insert(out->end(), data, data + size);
  return size;
}

ColorMapObject* MakeMap(const std::vector<GifRgb>& colours) {
  if (colours.empty()) return nullptr;
  std::vector<GifColorType> c;
  for (const GifRgb& rgb : colours) c.push_back({rgb.r, rgb.g, rgb.b});
  return GifMakeMapObject(static_cast<int>(c.size()), c.data());
}

void Require(bool ok) {
  if (!ok) throw std::runtime_error("gif encoding failed");
}

}  // namespace

Bytes EncodeGif(int width, int height, const std::vector<GifRgb>& global_map, int background,
                const std::vector<GifFrame>& frames) {
  Bytes out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, GifWrite, &error);
  Require(gif != nullptr);
  EGifSetGifVersion(gif, true);
  ColorMapObject* global = MakeMap(global_map);
  Require(EGifPutScreenDesc(gif, width, height, 8, background, global) == GIF_OK);
  GifFreeMapObject(global);
  for (const GifFrame& f : frames) {
    if (f.control) {
      GraphicsControlBlock gcb{f.disposal, false, f.delay, f.transparent};
      GifByteType extension[4];
      EGifGCBToExtension(&gcb, extension);
      Require(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_OK);
    }
    ColorMapObject* local = MakeMap(f.local_map);
    // giflib drops (and leaks) the previous frame's local map when this one has none.
    if (!local && gif->Image.ColorMap) {
      GifFreeMapObject(gif->Image.ColorMap);
      gif->Image.ColorMap = nullptr;
    }
    Require(EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, false, local) == GIF_OK);
    GifFreeMapObject(local);
    Bytes raster = f.raster;
    for (int y = 0; y < f.height; ++y)
      Require(EGifPutLine(gif, raster.data() + static_cast<size_t>(y) * f.width, f.width) == GIF_OK);
  }
  Require(EGifCloseFile(gif, &error) == GIF_OK);
  return out;
}

Bytes MakeBmp(int32_t width, int32_t height, int bits, uint32_t compression, const Bytes& palette,
              const Bytes& pixel_data) {
  const uint32_t offset = 54 + static_cast<uint32_t>(palette.size());
  Bytes b{'B', 'M'};
  Put32(b, offset + static_cast<uint32_t>(pixel_data.size()));
  Put32(b, 0);
  Put32(b, offset);
  Put32(b, 40);
  Put32(b, static_cast<uint32_t>(width));
  Put32(b, static_cast<uint32_t>(height));
  Put16(b, 1);
  Put16(b, static_cast<unsigned>(bits));
  Put32(b, compression);
  Put32(b, static_cast<uint32_t>(pixel_data.size()));
  Put32(b, 2835);
  Put32(b, 2835);
  Put32(b, static_cast<uint32_t>(palette.size() / 4));
  Put32(b, 0);
  b.insert(b.end(), palette.begin(), palette.end());
  b.insert(b.end(), pixel_data.begin(), pixel_data.end());
  return b;
}

Bytes IconBitmap(int32_t width, int32_t height, int bits) {
  Bytes b;
  Put32(b, 40);
  Put32(b, static_cast<uint32_t>(width));
  Put32(b, static_cast<uint32_t>(height * 2));
  Put16(b, 1);
  Put16(b, static_cast<unsigned>(bits));
  for (int i = 0; i < 6; ++i) Put32(b, 0);
  const size_t palette = bits <= 8 ? 4u << bits : 0;
  const size_t colour = (static_cast<size_t>(width) * bits + 31) / 32 * 4 * height;
  const size_t mask = (static_cast<size_t>(width) + 31) / 32 * 4 * height;
  b.resize(b.size() + palette + colour + mask);
  return b;
}

Bytes MakeIcon(const std::vector<IconEntry>& entries) {
  Bytes b;
  Put16(b, 0);
  Put16(b, 1);
  Put16(b, static_cast<unsigned>(entries.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(entries.size());
  for (const IconEntry& e : entries) {
    b.push_back(e.width);
    b.push_back(e.height);
    b.push_back(0);
    b.push_back(0);
    Put16(b, 1);
    Put16(b, static_cast<unsigned>(e.bits));
    Put32(b, static_cast<uint32_t>(e.image.size()));
    Put32(b, offset);
    offset += static_cast<uint32_t>(e.image.size());
  }
  for (const IconEntry& e : entries) b.insert(b.end(), e.image.begin(), e.image.end());
  return b;
}

namespace {

std::string AsString(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

uint8_t Shade(int at, int size) { return static_cast<uint8_t>(size > 1 ? at * 255 / (size - 1) : 0); }

}  // namespace

std::string EncodeTestPng(int width, int height) {
  PngPicture picture;
  picture.width = static_cast<uint32_t>(width);
  picture.height = static_cast<uint32_t>(height);
  picture.colour_type = PNG_COLOR_TYPE_RGB;
  for (int y = 0; y < height; ++y) {
    Bytes row;
    for (int x = 0; x < width; ++x) row.insert(row.end(), {Shade(x, width), Shade(y, height), 128});
    picture.rows.push_back(std::move(row));
  }
  return AsString(EncodePng(picture));
}

std::string EncodeTestJpeg(int width, int height) {
  Bytes samples;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) samples.insert(samples.end(), {Shade(x, width), Shade(y, height), 64});
  return AsString(EncodeJpeg(width, height, 3, JCS_RGB, samples));
}

std::string EncodeTestGif(int width, int height) {
  std::vector<GifRgb> map;
  for (int i = 0; i < 4; ++i) map.push_back({Shade(i, 4), 0, Shade(3 - i, 4)});
  GifFrame frame;
  frame.width = width;
  frame.height = height;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) frame.raster.push_back(static_cast<uint8_t>((x + y) % 4));
  return AsString(EncodeGif(width, height, map, 0, {frame}));
}
