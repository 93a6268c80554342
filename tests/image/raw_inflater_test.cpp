// The inflater must decide as zlib does: refuse the same data with the same message, write
// the same bytes, and end at the same input byte, whatever the pieces it is fed in.
#include "image/raw_inflater.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

#include "support/deflate_streams.h"
#include "support/inflate_comparison.h"

namespace {

constexpr size_t kLimit = size_t{1} << 20;

// zlib's and ours on the same data, fed in pieces of each of these sizes.
void ExpectSameAsZlib(const Bytes& data, std::initializer_list<size_t> pieces, const std::string& what) {
  InflateOutcome zlib, ours;
  for (const size_t piece : pieces) {
    InflateWithZlib(data, piece, kLimit, zlib);
    InflateWithRawInflater(data, piece, kLimit, ours);
    EXPECT_EQ(InflateDifference(zlib, ours), "") << what << ", pieces of " << piece;
  }
}

// Text, noise that only a stored block holds, and runs of every short period, longer than
// the inflater's buffer so that matches reach back across its slides.
Bytes MixedData() {
  std::mt19937 random(7);
  Bytes data;
  while (data.size() < 400'000) {
    for (int i = 0; i < 3000; ++i) data.push_back(static_cast<uint8_t>("the quick brown fox; "[i % 21] + i / 1000));
    for (int i = 0; i < 70'000; ++i) data.push_back(static_cast<uint8_t>(random()));
    for (size_t period = 1; period <= 17; ++period) {
      for (size_t i = 0; i < 600; ++i) data.push_back(static_cast<uint8_t>(period * 31 + i % period));
    }
  }
  return data;
}

TEST(RawInflater, RefusesEachHandMadeStreamAsZlibDoes) {
  ExpectSameAsZlib(SoundDeflateStream(), {1, 2, 1000}, "the sound stream");
  for (const auto& [message, stream] : RefusedDeflateStreams()) {
    ExpectSameAsZlib(stream, {1, 3, 1000}, message);
    RawInflater inflater;
    EXPECT_EQ(inflater.Inflate(stream).progress, InflateProgress::Failed) << message;
    EXPECT_STREQ(inflater.Failure(), message) << message;
  }
}

TEST(RawInflater, InflatesZlibsStreamsOfEveryKindInAnyPieces) {
  const Bytes data = MixedData();
  for (const auto& [level, window_bits, strategy] : {std::tuple{0, 15, Z_DEFAULT_STRATEGY},
                                                     {1, 15, Z_FIXED},
                                                     {6, 15, Z_DEFAULT_STRATEGY},
                                                     {9, 9, Z_DEFAULT_STRATEGY},
                                                     {9, 15, Z_HUFFMAN_ONLY},
                                                     {9, 15, Z_RLE}}) {
    Bytes stream = ZlibRawDeflate(data, level, window_bits, strategy);
    // What follows the stream is left unread.
    stream.insert(stream.end(), {0x12, 0x34, 0x56, 0x78});
    const std::string what = "level " + std::to_string(level) + ", strategy " + std::to_string(strategy);
    ExpectSameAsZlib(stream, {7, 4093, 65536, stream.size()}, what);
    InflateOutcome ours;
    InflateWithRawInflater(stream, 65536, kLimit, ours);
    EXPECT_TRUE(ours.ended && ours.consumed == stream.size() - 4) << what;
    EXPECT_TRUE(ours.written == data.size() && std::equal(data.begin(), data.end(), ours.output.begin())) << what;
  }
  // One byte at a time takes the careful path through all of it.
  ExpectSameAsZlib(ZlibRawDeflate(Bytes(data.begin(), data.begin() + 120'000), 6, 15, Z_DEFAULT_STRATEGY), {1},
                   "bytewise");
}

// Damaged streams: bits flipped, bytes replaced, cut short. Each damage is checked against
// zlib in random pieces; whatever zlib decides, the inflater decides too.
TEST(RawInflater, AgreesWithZlibOnDamagedStreams) {
  const Bytes data = MixedData();
  std::vector<Bytes> streams;
  for (const int strategy : {Z_DEFAULT_STRATEGY, Z_FIXED, Z_HUFFMAN_ONLY}) {
    streams.push_back(ZlibRawDeflate(Bytes(data.begin(), data.begin() + 5000), 6, 15, strategy));
  }
  streams.push_back(SoundDeflateStream());
  std::mt19937 random(1234);
  InflateOutcome zlib, ours;
  int ended = 0;
  for (int round = 0; round < 1500; ++round) {
    Bytes stream = streams[random() % streams.size()];
    const int damages = 1 + static_cast<int>(random() % 3);
    for (int d = 0; d < damages; ++d) {
      const size_t at = random() % stream.size();
      if (random() % 2) {
        stream[at] ^= static_cast<uint8_t>(1u << (random() % 8));
      } else {
        stream[at] = static_cast<uint8_t>(random());
      }
    }
    if (random() % 4 == 0) stream.resize(random() % stream.size());
    const size_t piece = 1 + random() % 300;
    InflateWithZlib(stream, piece, kLimit, zlib);
    InflateWithRawInflater(stream, piece, kLimit, ours);
    ASSERT_EQ(InflateDifference(zlib, ours), "") << "round " << round;
    ended += zlib.ended;
  }
  EXPECT_GT(ended, 0);  // some damage is harmless, and those streams must end alike too
}

}  // namespace
