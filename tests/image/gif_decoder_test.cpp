#include <gif_lib.h>

#include "image/gif_stream_budget.h"
#include "image/image_measure.h"
#include "tests/image/image_fixture.h"

namespace {

using GifDecoder = ImageTest;
using Bgra = std::array<int, 4>;

const std::vector<GifRgb> kMap{{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};

GifFrame Frame(int left, int top, int width, int height, uint8_t index) {
  GifFrame frame;
  frame.left = left;
  frame.top = top;
  frame.width = width;
  frame.height = height;
  frame.raster.assign(static_cast<size_t>(width) * static_cast<size_t>(height), index);
  return frame;
}

GifFrame Animated(GifFrame frame, int disposal, int delay, int transparent = -1) {
  frame.control = true;
  frame.disposal = disposal;
  frame.delay = delay;
  frame.transparent = transparent;
  return frame;
}

TEST_F(GifDecoder, OnePixelImage) {
  const int64_t id = Load(EncodeGif(1, 1, kMap, 0, {Frame(0, 0, 1, 1, 2)}));
  ASSERT_NE(id, 0);
  EXPECT_EQ(Describe(id), (Description{kFormatGif, 1, 1, 32, 8, 1}));
  EXPECT_EQ(Pixel(id, 0, 0), (Bgra{0, 255, 0, 255}));
}

TEST_F(GifDecoder, ScreenSizeAndBackgroundAroundASmallImage) {
  const int64_t id = Load(EncodeGif(200, 100, kMap, 3, {Frame(10, 10, 50, 50, 1)}));
  ASSERT_NE(id, 0);
  EXPECT_EQ(ImagePixelWidth(id), 200);
  EXPECT_EQ(ImagePixelHeight(id), 100);
  EXPECT_EQ(Pixel(id, 10, 10), (Bgra{0, 0, 255, 255}));
  EXPECT_EQ(Pixel(id, 59, 59), (Bgra{0, 0, 255, 255}));
  EXPECT_EQ(Pixel(id, 60, 59), (Bgra{255, 0, 0, 255}));  // background index 3: blue
  EXPECT_EQ(Pixel(id, 9, 10), (Bgra{255, 0, 0, 255}));
  EXPECT_EQ(Pixel(id, 199, 99), (Bgra{255, 0, 0, 255}));

  // With a transparent index the background is transparent.
  const GifFrame keyed = Animated(Frame(10, 10, 50, 50, 1), 0, 0, 2);
  const int64_t clear = Load(EncodeGif(200, 100, kMap, 3, {keyed}));
  ASSERT_NE(clear, 0);
  EXPECT_EQ(Pixel(clear, 0, 0), (Bgra{0, 255, 0, 0}));
  EXPECT_EQ(Pixel(clear, 20, 20), (Bgra{0, 0, 255, 255}));

  // Background index 255 and no transparent index: transparent black.
  const int64_t none = Load(EncodeGif(4, 4, kMap, 255, {Frame(0, 0, 2, 2, 1)}));
  ASSERT_NE(none, 0);
  EXPECT_EQ(Pixel(none, 3, 3), (Bgra{0, 0, 0, 0}));
}

TEST_F(GifDecoder, FramesAreComposedWithTheirDelays) {
  const int64_t id = Load(EncodeGif(4, 2, kMap, 0,
                                    {Animated(Frame(0, 0, 4, 2, 1), 1, 10), Animated(Frame(0, 0, 2, 1, 2), 1, 10),
                                     Animated(Frame(2, 1, 2, 1, 3), 1, 10)}));
  ASSERT_NE(id, 0);
  const ImageRecord& image = Image(id);
  EXPECT_EQ(image.frame_count, 3);
  ASSERT_EQ(image.frames.size(), 3u);
  for (const ImageFrame& frame : image.frames) {
    EXPECT_TRUE(frame.bitmap.has_value());
    EXPECT_EQ(frame.delay, 100);
  }
  EXPECT_EQ(Pixel(id, 0, 0, 0), (Bgra{0, 0, 255, 255}));
  EXPECT_EQ(Pixel(id, 0, 0, 1), (Bgra{0, 255, 0, 255}));
  EXPECT_EQ(Pixel(id, 3, 1, 1), (Bgra{0, 0, 255, 255}));  // frame 0 still shows
  EXPECT_EQ(Pixel(id, 0, 0, 2), (Bgra{0, 255, 0, 255}));
  EXPECT_EQ(Pixel(id, 3, 1, 2), (Bgra{255, 0, 0, 255}));
}

TEST_F(GifDecoder, DisposalRules) {
  // Disposal 1, then a transparent pixel: frame 0's pixel shows through.
  GifFrame second = Animated(Frame(0, 0, 2, 1, 2), 0, 5, 0);
  second.raster = {0, 2};
  const int64_t kept = Load(EncodeGif(2, 1, kMap, 0, {Animated(Frame(0, 0, 2, 1, 1), 1, 5), second}));
  ASSERT_NE(kept, 0);
  EXPECT_EQ(Pixel(kept, 0, 0, 1), (Bgra{0, 0, 255, 255}));
  EXPECT_EQ(Pixel(kept, 1, 0, 1), (Bgra{0, 255, 0, 255}));

  // After disposal 2 a frame of disposal 0 still keeps what lies below its transparent
  // pixels: here the background that disposal 2 left.
  GifFrame over_background = Animated(Frame(0, 0, 2, 1, 2), 0, 5, 0);
  over_background.raster = {0, 2};
  const int64_t below = Load(EncodeGif(2, 1, kMap, 3, {Animated(Frame(0, 0, 2, 1, 1), 2, 5), over_background}));
  ASSERT_NE(below, 0);
  EXPECT_EQ(Pixel(below, 0, 0, 1), (Bgra{255, 0, 0, 255}));

  // Disposal 2 clears the frame's rectangle to the background before the next frame.
  const int64_t cleared =
      Load(EncodeGif(2, 1, kMap, 3, {Animated(Frame(0, 0, 1, 1, 1), 2, 5), Animated(Frame(1, 0, 1, 1, 2), 1, 5)}));
  ASSERT_NE(cleared, 0);
  EXPECT_EQ(Pixel(cleared, 0, 0, 0), (Bgra{0, 0, 255, 255}));
  EXPECT_EQ(Pixel(cleared, 0, 0, 1), (Bgra{255, 0, 0, 255}));

  // Disposal 3 after a first frame of disposal 1 brings back the saved canvas.
  const int64_t restored = Load(EncodeGif(2, 1, kMap, 0,
                                          {Animated(Frame(0, 0, 2, 1, 1), 1, 5), Animated(Frame(0, 0, 1, 1, 2), 3, 5),
                                           Animated(Frame(1, 0, 1, 1, 3), 1, 5)}));
  ASSERT_NE(restored, 0);
  EXPECT_EQ(Pixel(restored, 0, 0, 1), (Bgra{0, 255, 0, 255}));
  EXPECT_EQ(Pixel(restored, 0, 0, 2), (Bgra{0, 0, 255, 255}));
  EXPECT_EQ(Pixel(restored, 1, 0, 2), (Bgra{255, 0, 0, 255}));
}

TEST_F(GifDecoder, BadFramesAndCutStreams) {
  const Bytes two = EncodeGif(8, 8, kMap, 0, {Frame(0, 0, 8, 8, 1), Frame(0, 0, 8, 8, 2)});
  ASSERT_NE(Load(two), 0);
  // Cut inside the last image: both readings fail.
  EXPECT_EQ(Load(Bytes(two.begin(), two.end() - 4)), 0);

  // A later frame outside the screen has no bitmap; the image loads.
  Bytes outside = EncodeGif(8, 8, kMap, 0, {Frame(0, 0, 8, 8, 1), Frame(4, 4, 4, 4, 2)});
  // The second image descriptor follows the first image's data; move it to x = 6.
  const auto descriptor = std::find(outside.rbegin(), outside.rend(), ',');
  ASSERT_NE(descriptor, outside.rend());
  *(descriptor.base()) = 6;
  const int64_t partly = Load(outside);
  ASSERT_NE(partly, 0);
  EXPECT_TRUE(Image(partly).frames[0].bitmap.has_value());
  EXPECT_FALSE(Image(partly).frames[1].bitmap.has_value());

  // No colour map at all: frame 0 fails, and so does the load. (The encoder insists on a
  // map: take the global one out of the bytes.)
  Bytes mapless = EncodeGif(2, 2, kMap, 0, {Frame(0, 0, 2, 2, 0)});
  ASSERT_EQ(mapless[10] & 0x80, 0x80);
  const size_t map_bytes = 3u << ((mapless[10] & 7) + 1);
  mapless[10] = 0;
  mapless.erase(mapless.begin() + 13, mapless.begin() + 13 + static_cast<ptrdiff_t>(map_bytes));
  EXPECT_EQ(Load(mapless), 0);
  EXPECT_EQ(Load({'G', 'I'}), 0);
}

// giflib stops at a byte that begins no record; the loader reads on from there once
// more. Measuring must give what that second reading gives, and where it fails too,
// both refuse (the scan's 1 x 1).
TEST_F(GifDecoder, ASecondReadingGoesOnPastAStrayByteAndMeasuringAgrees) {
  const Bytes one = EncodeGif(6, 5, kMap, 0, {Frame(0, 0, 4, 3, 1)});
  const Bytes two = EncodeGif(6, 5, kMap, 0, {Frame(0, 0, 4, 3, 1), Frame(1, 1, 5, 4, 2)});
  const auto at = [](const Bytes& bytes, size_t offset, const Bytes& inserted) {
    Bytes changed = bytes;
    changed.insert(changed.begin() + static_cast<ptrdiff_t>(offset), inserted.begin(), inserted.end());
    return changed;
  };
  const size_t trailer = one.size() - 1;  // ';', where the second frame begins in `two`
  const struct {
    const char* what;
    Bytes data;
    bool loads;
  } cases[] = {
      {"a stray byte before the trailer", at(one, trailer, {'x'}), true},
      {"a stray byte between two frames", at(two, trailer, {0}), true},
      {"two stray bytes", at(one, trailer, {'x', 'y'}), false},
      {"an extension without blocks before the trailer", at(one, trailer, {'!', 0xFE, 0}), false},
      {"a file that ends inside an extension", at(Bytes(one.begin(), one.end() - 1), trailer, {'!', 0xFE, 9, 'c'}),
       false},
  };
  for (const auto& [what, data, loads] : cases) {
    const int64_t id = Load(data);
    const auto measured = MeasureImageMemory(data);
    EXPECT_EQ(id != 0, loads) << what;
    EXPECT_EQ(measured.has_value(), loads) << what;
    if (!id || !measured) continue;
    EXPECT_EQ(ImagePixelWidth(id), 6) << what;
    EXPECT_EQ(ImagePixelHeight(id), 5) << what;
    EXPECT_EQ(measured->width, 6) << what;
    EXPECT_EQ(measured->height, 5) << what;
  }
}

TEST_F(GifDecoder, HugeScreenFromASmallFileIsNotAllocated) {
  SetMemoryBytesForTesting(uint64_t{16} << 30);
  EXPECT_EQ(Load(EncodeGif(65535, 65535, kMap, 0, {Frame(0, 0, 1, 1, 1)})), 0);
}

uint64_t HeldBytes(const Bytes& data, uint64_t offset) {
  ImageSource source(data);
  return GifStreamHeldBytes(source, offset);
}

TEST(GifStreamHeldBytes, CountsWhatGiflibKeepsUpToWhereItStops) {
  // Header, screen descriptor and the 4-colour global map: the records begin at 25.
  const Bytes two = EncodeGif(8, 8, kMap, 0, {Frame(0, 0, 8, 8, 1), Animated(Frame(0, 0, 5, 3, 2), 0, 5)});
  const uint64_t held = HeldBytes(two, 25);
  EXPECT_GE(held, 64u + 15u);
  EXPECT_LT(held, 64u + 15u + 2048u);
  EXPECT_EQ(HeldBytes(two, two.size()), 0u);
  for (size_t cut = 25; cut < two.size(); ++cut) {
    const Bytes cut_short(two.begin(), two.begin() + static_cast<ptrdiff_t>(cut));
    EXPECT_LE(HeldBytes(cut_short, 25), held);
  }

  // Descriptors that claim 65535 x 65535 are counted in full, without pixel data; a
  // byte that begins no record ends the walk, and a walk from past it counts the rest.
  const Bytes image{0x2C, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 2, 1, 0, 0};
  Bytes huge = image;
  huge.push_back(0x00);
  huge.insert(huge.end(), image.begin(), image.end());
  const uint64_t raster = uint64_t{65535} * 65535;
  EXPECT_GE(HeldBytes(huge, 0), raster);
  EXPECT_LT(HeldBytes(huge, 0), 2 * raster);
  EXPECT_GE(HeldBytes(huge, 15), raster);
}

}  // namespace
