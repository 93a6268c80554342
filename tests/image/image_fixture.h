#pragma once
// Starts the image library as the program does and ends it after each test.
#include <gtest/gtest.h>

#include <array>
#include <ostream>

#include "fs/object_table.h"
#include "image/bmp_decoder.h"
#include "image/decoder_registry.h"
#include "image/gif_decoder.h"
#include "image/image_loader.h"
#include "image/image_setup.h"
#include "image/image_table.h"
#include "image/jpeg_decoder.h"
#include "image/pixel_limit.h"
#include "image/png_decoder.h"
#include "support/test_images.h"

// What the loader says about an image.
struct Description {
  uint32_t format_id;
  int64_t width, height;
  int depth, source_depth;
  int32_t frame_count;
  friend bool operator==(const Description&, const Description&) = default;
  friend std::ostream& operator<<(std::ostream& out, const Description& d) {
    return out << std::hex << d.format_id << std::dec << " " << d.width << "x" << d.height << " depth " << d.depth
               << " from " << d.source_depth << ", " << d.frame_count << " frame(s)";
  }
};

// A decoder that counts the data offered to it and refuses everything.
inline int g_offered = 0;
inline bool CountingCheck(DecodeContext&) {
  ++g_offered;
  return false;
}
inline bool NoDecode(DecodeContext&, uint8_t*, ptrdiff_t, uint32_t) { return false; }
inline bool AnyData(std::span<const uint8_t>) { return true; }
inline std::optional<ImageSize> NoSize(ImageSource&) { return std::nullopt; }
inline constexpr DecoderDescriptor kCountingDecoder{.name = "counting",
                                                    .format_id = 0,
                                                    .sniff = AnyData,
                                                    .header_size = NoSize,
                                                    .check = CountingCheck,
                                                    .measure = CountingCheck,
                                                    .decode = NoDecode,
                                                    .finish = FinishDecoder};

class ImageTest : public ::testing::Test {
 protected:
  void SetUp() override { ImageLayerStart(); }
  void TearDown() override {
    ImageLayerStop();
    SetMemoryBytesForTesting(0);  // whatever limit a test set
  }

  static int64_t Load(const Bytes& data) { return DecodeImageMemory(kAutoNumber, data); }

  static const ImageRecord& Image(int64_t id) {
    const ImageRecord* image = ImageFind(id);
    if (!image) throw std::runtime_error("no image under that number");
    return *image;
  }

  static Description Describe(int64_t id) {
    const ImageRecord& image = Image(id);
    return {image.format_id, ImagePixelWidth(id), ImagePixelHeight(id),
            image.depth,     image.source_depth,  image.frame_count};
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
