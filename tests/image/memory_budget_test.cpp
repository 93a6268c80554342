// One budget for everything a load makes that grows with the picture, and memory for
// metadata bounded by the file: small files that claim huge pictures or huge chunks are
// refused before anything big is allocated. Limits are injected so pictures stay small.
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cstdio>

#include <jpeglib.h>

#include "image/image_measure.h"
#include "tests/image/image_fixture.h"

// The sanitizers' allocation hooks, present when the tests run under one.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, size_t),
                                                         void (*free_hook)(const volatile void*)) __attribute__((weak));

namespace {

using MemoryBudget = ImageTest;

std::atomic<size_t> g_largest_allocation{0};

void NoteAllocation(const volatile void*, size_t size) {
  size_t largest = g_largest_allocation.load();
  while (size > largest && !g_largest_allocation.compare_exchange_weak(largest, size)) {
  }
}
void NoteFree(const volatile void*) {}

// Starts noting the largest allocation, where a sanitizer can tell; false elsewhere.
bool WatchAllocations() {
  if (!__sanitizer_install_malloc_and_free_hooks) return false;
  static const bool installed = __sanitizer_install_malloc_and_free_hooks(NoteAllocation, NoteFree);
  g_largest_allocation = 0;
  return installed;
}

bool AgreeOnSuccess(const Bytes& data) {
  const int64_t id = DecodeImageMemory(kAutoNumber, data);
  ReleaseImage(id);
  EXPECT_EQ(MeasureImageMemory(data).has_value(), id != 0) << "measuring disagrees";
  return id != 0;
}

void PutBigEndian(Bytes& bytes, size_t at, uint32_t value, int count) {
  for (int i = 0; i < count; ++i)
    bytes[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * (count - 1 - i)));
}

// A small progressive 4:2:0 stream whose frame header claims width x height.
Bytes ProgressiveClaiming(uint32_t width, uint32_t height) {
  Bytes samples(16 * 16 * 3, 90);
  Bytes jpeg = EncodeJpeg(16, 16, 3, JCS_RGB, samples, true, 50);
  for (size_t i = 0; i + 9 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC2) {
      PutBigEndian(jpeg, i + 5, height, 2);
      PutBigEndian(jpeg, i + 7, width, 2);
      return jpeg;
    }
  }
  ADD_FAILURE() << "no progressive frame header";
  return jpeg;
}

TEST_F(MemoryBudget, GifBitmapCanvasAndSavedCopyShareTheLimit) {
  // 300 x 200 at 4 bytes: the bitmap, the canvas and its saved copy take 240000 each.
  const std::vector<GifRgb> map{{0, 0, 0}, {255, 0, 0}};
  GifFrame dot;
  dot.width = dot.height = 1;
  dot.raster = {1};
  const Bytes gif = EncodeGif(300, 200, map, 0, {dot});
  SetMemoryBytesForTesting(2 * 600000);  // room for two of them, not three
  EXPECT_FALSE(AgreeOnSuccess(gif));
  SetMemoryBytesForTesting(2 * 730000);
  EXPECT_TRUE(AgreeOnSuccess(gif));

  // 43 bytes claiming a 32768 x 16380 screen where 4 GiB are to be had: the bitmap alone
  // would fit the 2 GiB limit, the canvas beside it not. Measured only: measuring
  // allocates neither.
  const Bytes claim = EncodeGif(32768, 16380, map, 0, {dot});
  EXPECT_LT(claim.size(), 64u);
  SetMemoryBytesForTesting(uint64_t{4} << 30);
  EXPECT_FALSE(MeasureImageMemory(claim));
}

TEST_F(MemoryBudget, JpegCoefficientsShareTheLimitWithTheBitmap) {
  // 2600 x 2600: a 20.3 MB bitmap, and about as much for the buffered coefficients.
  const Bytes jpeg = ProgressiveClaiming(2600, 2600);
  SetMemoryBytesForTesting(2 * 30000000);  // either fits alone, not both
  EXPECT_FALSE(AgreeOnSuccess(jpeg));
  SetMemoryBytesForTesting(2 * 45000000);
  EXPECT_TRUE(AgreeOnSuccess(jpeg));
  // The same claiming 26000 x 26000 where 4 GiB are to be had.
  SetMemoryBytesForTesting(uint64_t{4} << 30);
  EXPECT_FALSE(MeasureImageMemory(ProgressiveClaiming(26000, 26000)));

  // To the byte: the least memory in which a 700 x 500 stream loads, found by halving.
  // Measuring, which allocates only a few rows of the coefficients, must still refuse
  // one byte below it.
  const Bytes stream = ProgressiveClaiming(700, 500);
  const auto loads = [&stream](uint64_t memory) {
    SetMemoryBytesForTesting(memory);
    const int64_t id = DecodeImageMemory(kAutoNumber, stream);
    ReleaseImage(id);
    return id != 0;
  };
  uint64_t refused = 2;  // even sizes: the limit is half of them
  uint64_t loaded = uint64_t{64} << 20;
  ASSERT_TRUE(loads(loaded));
  while (loaded - refused > 2) {
    const uint64_t middle = (refused + loaded) / 4 * 2;
    (loads(middle) ? loaded : refused) = middle;
  }
  SetMemoryBytesForTesting(refused);
  EXPECT_FALSE(AgreeOnSuccess(stream)) << refused;
  SetMemoryBytesForTesting(loaded);
  EXPECT_TRUE(AgreeOnSuccess(stream)) << loaded;
}

TEST_F(MemoryBudget, MeasuringAProgressiveStreamKeepsAFewRowsOfCoefficients) {
  if (!WatchAllocations()) GTEST_SKIP() << "needs a sanitizer's hooks";
  // 12000 x 12000 at 4:2:0: 216 MB of coefficients when loading, a luma row of blocks
  // 192 KB.
  SetMemoryBytesForTesting(uint64_t{4} << 30);
  const auto size = MeasureImageMemory(ProgressiveClaiming(12000, 12000));
  ASSERT_TRUE(size);
  EXPECT_EQ(size->width, 12000);
  EXPECT_EQ(size->height, 12000);
  EXPECT_LT(g_largest_allocation.load(), size_t{4} << 20);
}

void PutChunk(Bytes& png, const char* type, const Bytes& data, uint32_t claimed) {
  png.resize(png.size() + 4);
  PutBigEndian(png, png.size() - 4, claimed, 4);
  Bytes typed(type, type + 4);
  typed.insert(typed.end(), data.begin(), data.end());
  png.insert(png.end(), typed.begin(), typed.end());
  png.resize(png.size() + 4);
  PutBigEndian(png, png.size() - 4, static_cast<uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))), 4);
}

TEST_F(MemoryBudget, PngChunksClaimingAGigabyteAreNotAllocated) {
  if (!WatchAllocations()) GTEST_SKIP() << "needs a sanitizer's hooks";
  for (const char* type : {"tEXt", "zTXt", "iTXt", "iCCP", "sPLT", "eXIf", "prVt"}) {
    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(png, "IHDR", {0, 0, 0, 1, 0, 0, 0, 1, 8, 2, 0, 0, 0}, 13);
    PutChunk(png, type, {'a', 0, 'b'}, 1000000000u);
    g_largest_allocation = 0;
    EXPECT_FALSE(AgreeOnSuccess(png));
    EXPECT_LT(g_largest_allocation.load(), size_t{1} << 20) << type;
  }
}

}  // namespace
