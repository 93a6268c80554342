// The registered formats, walked as the registry walks them: every format has samples,
// its sniff names it first, and loading, measuring and quick mode agree on them. A new
// format is covered by registering it and adding samples to the corpus.
#include <map>
#include <string>

#include "image/image_measure.h"
#include "image/quick_size.h"
#include "tests/image/image_corpus.h"
#include "tests/image/image_fixture.h"

namespace {

using FormatTable = ImageTest;

std::string Shown(const std::optional<ImageSize>& size) {
  return size ? std::to_string(size->width) + "x" + std::to_string(size->height) : "none";
}

std::optional<ImageSize> Loaded(const Bytes& data) {
  const int64_t id = DecodeImageMemory(kAutoNumber, data);
  if (id == 0) return std::nullopt;
  const ImageSize size{static_cast<int32_t>(ImagePixelWidth(id)), static_cast<int32_t>(ImagePixelHeight(id))};
  ReleaseImage(id);
  return size;
}

Bytes AsBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

// The corpus, and a Radiance file, which no decoder loads.
std::vector<Bytes> Samples() {
  std::vector<Bytes> samples = ImageCorpus();
  samples.push_back(AsBytes("#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 3 +X 4\n\x02\x02"));
  return samples;
}

const DecoderDescriptor* Sniffed(const Bytes& data) {
  ImageSource source(data);
  return SniffDecoder(source);
}

TEST_F(FormatTable, EveryFormatHasSamplesThatAllThreeWaysSizeAlike) {
  std::map<const DecoderDescriptor*, int> samples_of;
  for (const Bytes& sample : Samples()) {
    const DecoderDescriptor* format = Sniffed(sample);
    ASSERT_NE(format, nullptr) << sample.size() << "-byte sample";
    ++samples_of[format];
    const auto loaded = Loaded(sample);
    EXPECT_EQ(Shown(MeasureImageMemory(sample)), Shown(loaded)) << format->name;
    if (!format->decodes) {
      EXPECT_FALSE(loaded);
      EXPECT_EQ(Shown(QuickImageSize(sample)), "4x3");
      continue;
    }
    ASSERT_TRUE(loaded) << format->name;
    EXPECT_EQ(ImageFind(DecodeImageMemory(kAutoNumber, sample))->format_id, format->format_id);
    EXPECT_EQ(Shown(QuickImageSize(sample)), Shown(loaded)) << format->name;
  }
  ASSERT_EQ(RegisteredDecoders().size(), 6u);  // icon, BMP, PNG, JPEG, GIF, Radiance
  for (const DecoderDescriptor* format : RegisteredDecoders()) {
    EXPECT_GT(samples_of[format], 0) << "no sample of " << format->name;
  }
}

TEST_F(FormatTable, FormatsAreTriedInTheLoadersOrder) {
  std::vector<std::string> names;
  for (const DecoderDescriptor* format : RegisteredDecoders()) names.emplace_back(format->name);
  EXPECT_EQ(names, (std::vector<std::string>{"icon", "bmp", "png", "jpeg", "gif", "hdr"}));
}

// Quick mode reads headers only, so damaged data behind a sound header keeps the
// header's size; but wherever the loader takes the data, quick gives its size, and
// where quick refuses, the loader refuses too.
TEST_F(FormatTable, QuickGivesTheLoadersSizeWhereverItLoads) {
  SetMemoryBytesForTesting(uint64_t{256} << 20);  // damaged headers claim huge pictures
  const auto expect = [](const Bytes& data, const std::string& what) {
    const auto loaded = Loaded(data);
    if (loaded) {
      EXPECT_EQ(Shown(QuickImageSize(data)), Shown(loaded)) << what << ", " << data.size() << " bytes";
    }
  };
  for (const Bytes& file : Samples()) ForEachCutAndFlip(file, expect);
}

}  // namespace
