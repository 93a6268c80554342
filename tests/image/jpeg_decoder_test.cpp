#include <cstdio>

#include <jpeglib.h>

#include "tests/image/image_fixture.h"

namespace {

using JpegDecoder = ImageTest;

// A smooth RGB picture: large uniform areas survive compression almost exactly.
Bytes Gradient(int width, int height) {
  Bytes samples;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      samples.push_back(static_cast<uint8_t>(x * 4));
      samples.push_back(static_cast<uint8_t>(y * 4));
      samples.push_back(200);
    }
  return samples;
}

bool Near(int a, int b) { return a - b <= 3 && b - a <= 3; }

TEST_F(JpegDecoder, GreyscaleComesOutAsEqualChannels) {
  Bytes samples(32 * 16);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<uint8_t>(i % 32 * 8);
  const int64_t id = Load(EncodeJpeg(32, 16, 1, JCS_GRAYSCALE, samples));
  ASSERT_NE(id, 0);
  EXPECT_EQ(Describe(id), (Description{kFormatJpeg, 32, 16, 24, 24, 1}));
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 32; ++x) {
      const auto p = Pixel(id, x, y);
      ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]) << x << "," << y;
    }
}

TEST_F(JpegDecoder, ColourIsBlueGreenRedRightWayUp) {
  Bytes samples(16 * 16 * 3, 0);
  for (size_t i = 0; i < 16 * 8 * 3; i += 3) samples[i] = 250;                   // top half red
  for (size_t i = 16 * 8 * 3; i < samples.size(); i += 3) samples[i + 2] = 250;  // bottom blue
  const int64_t id = Load(EncodeJpeg(16, 16, 3, JCS_RGB, samples));
  ASSERT_NE(id, 0);
  const auto top = Pixel(id, 4, 2);
  const auto bottom = Pixel(id, 4, 13);
  EXPECT_TRUE(Near(top[2], 250) && Near(top[0], 0)) << top[0] << " " << top[2];
  EXPECT_TRUE(Near(bottom[0], 250) && Near(bottom[2], 0)) << bottom[0] << " " << bottom[2];
}

TEST_F(JpegDecoder, CmykIsMultipliedByBlack) {
  Bytes samples;
  for (int i = 0; i < 16 * 16; ++i) {
    const bool left = i % 16 < 8;
    const Bytes pixel = left ? Bytes{255, 128, 0, 255} : Bytes{200, 100, 50, 0};
    samples.insert(samples.end(), pixel.begin(), pixel.end());
  }
  const int64_t id = Load(EncodeJpeg(16, 16, 4, JCS_CMYK, samples));
  ASSERT_NE(id, 0);
  EXPECT_EQ(Image(id).depth, 24);
  EXPECT_EQ(Image(id).source_depth, 32);
  EXPECT_EQ(Pixel(id, 2, 2), (std::array<int, 4>{0, 128, 255, 0}));
  EXPECT_EQ(Pixel(id, 12, 12), (std::array<int, 4>{0, 0, 0, 0}));  // K = 0: black
}

TEST_F(JpegDecoder, ProgressiveEqualsBaseline) {
  const Bytes samples = Gradient(40, 24);
  const int64_t baseline = Load(EncodeJpeg(40, 24, 3, JCS_RGB, samples));
  const int64_t progressive = Load(EncodeJpeg(40, 24, 3, JCS_RGB, samples, true));
  ASSERT_NE(baseline, 0);
  ASSERT_NE(progressive, 0);
  EXPECT_EQ(ImagePixelWidth(progressive), 40);
  EXPECT_EQ(ImagePixelHeight(progressive), 24);
  for (int y = 0; y < 24; y += 5)
    for (int x = 0; x < 40; x += 7)
      for (int c = 0; c < 3; ++c) ASSERT_TRUE(Near(Pixel(baseline, x, y)[c], Pixel(progressive, x, y)[c]));
}

// The bytes from the first start-of-scan marker to the marker after its data.
Bytes FirstScan(const Bytes& file) {
  size_t start = 0;
  while (start + 1 < file.size() && !(file[start] == 0xFF && file[start + 1] == 0xDA)) ++start;
  size_t end = start + 2;
  while (end + 1 < file.size() && !(file[end] == 0xFF && file[end + 1] != 0 && (file[end + 1] & 0xF8) != 0xD0)) {
    ++end;
  }
  return Bytes(file.begin() + static_cast<ptrdiff_t>(start), file.begin() + static_cast<ptrdiff_t>(end));
}

TEST_F(JpegDecoder, ProgressiveStreamOfEndlessScansIsRefused) {
  const Bytes file = EncodeJpeg(16, 16, 3, JCS_RGB, Gradient(16, 16), true);
  const Bytes scan = FirstScan(file);
  ASSERT_GT(scan.size(), 4u);
  const auto after_scan = [&](size_t copies) {
    const auto at = std::search(file.begin(), file.end(), scan.begin(), scan.end());
    Bytes repeated(file.begin(), at);
    for (size_t i = 0; i < copies; ++i) repeated.insert(repeated.end(), scan.begin(), scan.end());
    repeated.insert(repeated.end(), at, file.end());
    return repeated;
  };
  // A repeated scan is only a warning to libjpeg; hundreds more are refused.
  EXPECT_NE(Load(after_scan(50)), 0);
  EXPECT_EQ(Load(after_scan(600)), 0);
}

TEST_F(JpegDecoder, CutShortInItsScanStillLoadsAtFullSize) {
  const Bytes file = EncodeJpeg(64, 64, 3, JCS_RGB, Gradient(64, 64));
  const Bytes cut(file.begin(), file.begin() + static_cast<ptrdiff_t>(file.size() * 2 / 3));
  const int64_t id = Load(cut);
  ASSERT_NE(id, 0);
  EXPECT_EQ(ImagePixelWidth(id), 64);
  EXPECT_EQ(ImagePixelHeight(id), 64);
}

TEST_F(JpegDecoder, StartOfImageThenGarbageFallsThroughAndFails) {
  ASSERT_TRUE(RegisterDecoder(kCountingDecoder));
  g_offered = 0;
  EXPECT_EQ(Load({0xFF, 0xD8, 'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'}), 0);
  EXPECT_EQ(g_offered, 1);  // the JPEG and GIF decoders both refused
  EXPECT_EQ(Load({0xFF}), 0);
  EXPECT_EQ(Load({0xFF, 0xD8}), 0);
  EXPECT_EQ(g_offered, 3);
}

}  // namespace
