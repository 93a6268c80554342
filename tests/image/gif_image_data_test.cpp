// Measuring a GIF image's LZW data must decide as giflib's line-by-line reading does,
// and stop reading where it stops, on hand-made code streams for each of its paths.
#include "image/gif_image_data.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "support/gif_data_reference.h"
#include "support/test_images.h"

namespace {

constexpr int kClear = 256;  // with the minimum code size 8
constexpr int kEnd = 257;

struct CodeStream {
  int code_size = 8;
  std::vector<int> codes;
  size_t block = 255;      // the sub-blocks' length
  bool terminator = true;  // the empty block after the data
};

// The codes packed as an encoder packs them: each as wide as the decoder then reads,
// growing as the table grows and back to the start after a clear code.
Bytes Pack(const CodeStream& stream) {
  const int clear = 1 << stream.code_size;
  int running_code = clear + 2;
  int bits = stream.code_size + 1;
  Bytes data;
  uint32_t pending = 0;
  int pending_bits = 0;
  for (const int code : stream.codes) {
    pending |= static_cast<uint32_t>(code) << pending_bits;
    for (pending_bits += bits; pending_bits >= 8; pending_bits -= 8, pending >>= 8) data.push_back(pending & 0xff);
    if (running_code < 4097 && ++running_code > (1 << bits) && bits < 12) ++bits;
    if (code == clear) {
      running_code = clear + 2;
      bits = stream.code_size + 1;
    }
  }
  if (pending_bits > 0) data.push_back(pending & 0xff);
  Bytes blocks;
  for (size_t at = 0; at < data.size(); at += stream.block) {
    const size_t length = std::min(stream.block, data.size() - at);
    blocks.push_back(static_cast<uint8_t>(length));
    blocks.insert(blocks.end(), data.begin() + static_cast<ptrdiff_t>(at),
                  data.begin() + static_cast<ptrdiff_t>(at + length));
  }
  if (stream.terminator) blocks.push_back(0);
  return blocks;
}

// A GIF of one width x height image whose data is the packed codes, then more_data.
Bytes Gif(int width, int height, const CodeStream& stream, const Bytes& more_data = {}) {
  const auto le16 = [](Bytes& out, int value) {
    out.push_back(static_cast<uint8_t>(value & 0xff));
    out.push_back(static_cast<uint8_t>(value >> 8));
  };
  Bytes gif{'G', 'I', 'F', '8', '9', 'a'};
  le16(gif, width);
  le16(gif, height);
  gif.insert(gif.end(), {0, 0, 0, ','});
  le16(gif, 0);
  le16(gif, 0);
  le16(gif, width);
  le16(gif, height);
  gif.push_back(0);
  gif.push_back(static_cast<uint8_t>(stream.code_size));
  const Bytes data = Pack(stream);
  gif.insert(gif.end(), data.begin(), data.end());
  gif.insert(gif.end(), more_data.begin(), more_data.end());
  if (stream.terminator) gif.push_back(';');
  return gif;
}

// giflib's error for the image's data, after checking that measuring gives the same
// answer and stops at the same byte.
int Decision(const Bytes& gif) {
  const auto comparisons = CompareGifImageData(gif);
  EXPECT_EQ(comparisons.size(), 1u);
  if (comparisons.size() != 1) return -1;
  const auto& [giflib, ours] = comparisons.front();
  EXPECT_EQ(ours.error, giflib.error);
  EXPECT_EQ(ours.end, giflib.end);
  return giflib.error;
}

std::vector<int> Codes(std::initializer_list<std::vector<int>> parts) {
  std::vector<int> codes;
  for (const auto& part : parts) codes.insert(codes.end(), part.begin(), part.end());
  return codes;
}

std::vector<int> Repeated(int code, int count) { return std::vector<int>(static_cast<size_t>(count), code); }

TEST(GifImageData, SoundStreamsOfEveryShape) {
  // Table codes, a code used as it is made, a clear code in the middle, and pixels
  // decoded past the image's end.
  EXPECT_EQ(Decision(Gif(3, 2, {.codes = {kClear, 1, 1, 258, 259, kEnd}})), 0);
  EXPECT_EQ(Decision(Gif(3, 2, {.codes = {kClear, 7, 258, kClear, 5, 5, 260, 261, kEnd}})), 0);
  EXPECT_EQ(Decision(Gif(2, 1, {.codes = {kClear, 1, 1, 258, kEnd}})), 0);
  // The smallest code sizes, and no end code at all (the pixels are complete first).
  EXPECT_EQ(Decision(Gif(3, 1, {.code_size = 1, .codes = {2, 1, 0, 1}})), 0);
  EXPECT_EQ(Decision(Gif(3, 1, {.code_size = 0, .codes = {1, 0, 0, 0}})), 0);
  // Data blocks of one byte, and more blocks after the pixels before the terminator.
  EXPECT_EQ(Decision(Gif(6, 1, {.codes = {kClear, 1, 2, 3, 258, 259, kEnd}, .block = 1})), 0);
  EXPECT_EQ(Decision(Gif(1, 1, {.codes = {kClear, 1, kEnd}, .terminator = false}, {2, 9, 9, 1, 7, 0, ';'})), 0);
  // The encoders' own output, over several blocks and clear codes.
  Bytes raster(150 * 90);
  for (size_t i = 0; i < raster.size(); ++i) raster[i] = static_cast<uint8_t>((i * 7919) % 251 + i / 600);
  std::vector<GifRgb> map(256);
  GifFrame frame;
  frame.width = 150;
  frame.height = 90;
  frame.raster = raster;
  EXPECT_EQ(Decision(EncodeGif(150, 90, map, 0, {frame})), 0);
}

TEST(GifImageData, CodesNotYetInTheTable) {
  // After a pixel, a code beyond the next one decodes from the previous code.
  EXPECT_EQ(Decision(Gif(4, 1, {.codes = {kClear, 1, 300, 2, kEnd}})), 0);
  // ... unless the previous code itself was never made.
  EXPECT_EQ(Decision(Gif(9, 1, {.codes = {kClear, 7, 258, kClear, 5, 5, 260, 261, kEnd}})), D_GIF_ERR_IMAGE_DEFECT);
  // Right after a clear code there is no previous code: defective.
  EXPECT_EQ(Decision(Gif(4, 1, {.codes = {kClear, 258, kEnd}})), D_GIF_ERR_IMAGE_DEFECT);
  EXPECT_EQ(Decision(Gif(4, 1, {.codes = {kClear, 1, 2, kClear, 300, kEnd}})), D_GIF_ERR_IMAGE_DEFECT);
  // A code linked to itself (a later code made while it was the previous one) loops
  // until the pixel stack is full.
  EXPECT_EQ(Decision(Gif(20, 1, {.codes = {kClear, 1, 259, 2, 259, kEnd}})), D_GIF_ERR_IMAGE_DEFECT);
}

TEST(GifImageData, AFullTableIsKept) {
  // The codes after the first link 258 to 4095, the last (made by 4000) to the pixel
  // before it: 4095 is then two pixels, not three as a code not in the table would be.
  // 12-bit codes then go on without a clear code.
  const auto codes = Codes({{kClear}, Repeated(3, 3838), {4000, 4095, 3, kEnd}});
  EXPECT_EQ(Decision(Gif(3843, 1, {.codes = codes})), 0);
  EXPECT_EQ(Decision(Gif(3844, 1, {.codes = codes})), D_GIF_ERR_EOF_TOO_SOON);
}

TEST(GifImageData, DamagedData) {
  // The end code before the pixels are complete.
  EXPECT_EQ(Decision(Gif(4, 1, {.codes = {kClear, 1, 1, kEnd}})), D_GIF_ERR_EOF_TOO_SOON);
  // An empty block before the pixels are complete.
  const Bytes empty_first = Gif(4, 1, {.codes = {kClear, 1, kEnd}, .block = 1});
  Bytes empty_between = empty_first;
  empty_between.insert(empty_between.begin() + 26, 0);  // after the first data block
  EXPECT_EQ(Decision(empty_between), D_GIF_ERR_IMAGE_DEFECT);
  // The data cut short inside a block, at a block's length, and before the terminator.
  const Bytes sound = Gif(64, 1, {.codes = Codes({{kClear}, Repeated(5, 64), {kEnd}}), .block = 20});
  ASSERT_EQ(Decision(sound), 0);
  for (const size_t cut : {size_t{30}, size_t{45}, size_t{47}, sound.size() - 2}) {
    EXPECT_EQ(Decision(Bytes(sound.begin(), sound.begin() + static_cast<ptrdiff_t>(cut))), D_GIF_ERR_READ_FAILED)
        << "cut at " << cut;
  }
  // A code size giflib refuses before the data is reached.
  const Bytes data{1, 0, 0};
  ImageSource source(data);
  uint64_t position = 0;
  EXPECT_EQ(SkipGifImageData(source, position, 12, 1), D_GIF_ERR_READ_FAILED);
  // A block after the pixels that claims more bytes than there are.
  EXPECT_EQ(Decision(Gif(1, 1, {.codes = {kClear, 1, kEnd}, .terminator = false}, {200, 1, 2})), D_GIF_ERR_READ_FAILED);
}

}  // namespace
