// Every kind of test image, cut short and with bytes flipped: each load must end in a
// result (an image that keeps its invariants, or 0), never in a crash, a leak or a
// sanitizer report.
#include "tests/image/image_corpus.h"
#include "tests/image/image_fixture.h"

namespace {

using DamagedInput = ImageTest;

void ExpectSound(const Bytes& data) {
  const int64_t id = DecodeImageMemory(kAutoNumber, data);
  if (id == 0) return;
  const ImageRecord& image = *ImageFind(id);
  ASSERT_GT(image.width, 0);
  ASSERT_GT(image.height, 0);
  if (!image.icon) {
    ASSERT_FALSE(image.frames.empty());
    for (const ImageFrame& frame : image.frames) {
      if (!frame.bitmap) continue;
      ASSERT_EQ(frame.bitmap->Width(), image.width);
      ASSERT_EQ(frame.bitmap->Height(), image.height);
    }
  }
  ReleaseImage(id);
}

TEST_F(DamagedInput, CutShortAtEverySixteenth) {
  for (const Bytes& file : ImageCorpus()) {
    // Damage means little unless the undamaged file loads.
    const int64_t whole = DecodeImageMemory(kAutoNumber, file);
    EXPECT_NE(whole, 0) << file.size() << "-byte file";
    ReleaseImage(whole);
    ExpectSound(file);
    for (size_t k = 0; k < 16; ++k) {
      ExpectSound(Bytes(file.begin(), file.begin() + static_cast<ptrdiff_t>(file.size() * k / 16)));
    }
  }
}

TEST_F(DamagedInput, FlippedBytes) {
  for (const Bytes& file : ImageCorpus()) {
    // Every header byte, then positions spread over the rest.
    const size_t step = std::max<size_t>(1, file.size() / 48);
    for (size_t at = 0; at < file.size(); at += at < 128 ? 1 : step) {
      for (const uint8_t mask : {0xFF, 0x80, 0x01}) {
        Bytes damaged = file;
        damaged[at] ^= mask;
        ExpectSound(damaged);
      }
    }
  }
}

}  // namespace
