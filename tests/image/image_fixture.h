#pragma once
// Starts the image library as the program does and ends it after each test.
#include <gtest/gtest.h>

#include <array>

#include "fs/object_table.h"
#include "image/bmp_decoder.h"
#include "image/decoder_registry.h"
#include "image/gif_decoder.h"
#include "image/image_loader.h"
#include "image/image_table.h"
#include "image/jpeg_decoder.h"
#include "image/png_decoder.h"
#include "tests/image/test_images.h"

class ImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitDecoderRegistry();
    RegisterBmpDecoder();
    InitImageTable();
    RegisterPngDecoder();
    RegisterJpegDecoder();
    RegisterGifDecoder();
  }
  void TearDown() override {
    ReleaseImage(kAutoNumber);
    ImageTableEnd();
  }

  static int64_t Load(const Bytes& data) { return DecodeImageMemory(kAutoNumber, data); }

  static const ImageRecord& Image(int64_t id) {
    const ImageRecord* image = ImageFind(id);
    if (!image) throw std::runtime_error("no image under that number");
    return *image;
  }

  // Blue, green, red and alpha (0 at 24 bits) of a pixel counted from the picture's top.
  static std::array<int, 4> Pixel(int64_t id, int32_t x, int32_t y, size_t frame = 0) {
    const ImageRecord& image = Image(id);
    const Bitmap& bitmap = image.frames.at(frame).bitmap.value();
    const auto row = bitmap.PictureRow(y);
    const size_t step = static_cast<size_t>(bitmap.Depth() / 8);
    const auto p = row.subspan(static_cast<size_t>(x) * step, step);
    return {p[0], p[1], p[2], step == 4 ? p[3] : 0};
  }
};
