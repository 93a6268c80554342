// Measuring must answer exactly what loading answers: the same success or failure and
// the same width and height, for every input, damaged ones and refusals included.
#include "image/image_measure.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <jpeglib.h>

#include "support/temp_folder.h"
#include "tests/image/image_corpus.h"
#include "tests/image/image_fixture.h"

namespace {

using ImageMeasure = ImageTest;

std::optional<ImageSize> Loaded(int64_t id) {
  if (id == 0) return std::nullopt;
  const ImageSize size{static_cast<int32_t>(ImagePixelWidth(id)), static_cast<int32_t>(ImagePixelHeight(id))};
  ReleaseImage(id);
  return size;
}

std::string Shown(const std::optional<ImageSize>& size) {
  return size ? std::to_string(size->width) + "x" + std::to_string(size->height) : "refused";
}

// The loader's answer for the data, after checking that measuring gives the same.
std::optional<ImageSize> ExpectAgreement(const Bytes& data, const std::string& what) {
  const auto loaded = Loaded(DecodeImageMemory(kAutoNumber, data));
  const auto measured = MeasureImageMemory(data);
  EXPECT_EQ(Shown(measured), Shown(loaded)) << what << ", " << data.size() << " bytes";
  return loaded;
}

Bytes Noise(size_t count) {
  Bytes bytes(count);
  uint32_t state = 12345;
  for (auto& b : bytes) {
    state = state * 1103515245 + 12345;
    b = static_cast<uint8_t>(state >> 24);
  }
  return bytes;
}

// Larger files, so that file reads cross the reader's 64 KiB window.
std::vector<Bytes> LargeFiles() {
  std::vector<Bytes> files;
  const Bytes noise = Noise(300 * 240 * 3);
  files.push_back(EncodeJpeg(300, 240, 3, JCS_RGB, noise, false, 98));
  files.push_back(EncodeJpeg(300, 240, 3, JCS_RGB, noise, true, 98));
  std::vector<Bytes> rows;
  for (size_t y = 0; y < 200; ++y) rows.push_back(Bytes(noise.begin() + y * 600, noise.begin() + y * 600 + 600));
  PngPicture png = MakePngPicture(PNG_COLOR_TYPE_RGB, 8, 200, rows);
  png.interlaced = true;
  files.push_back(EncodePng(png));
  files.push_back(MakeBmp(152, 200, 24, 0, {}, Bytes(noise.begin(), noise.begin() + 456 * 200)));
  // Two frames: the second one's data blocks straddle a window's end.
  GifFrame frame;
  frame.width = 300;
  frame.height = 240;
  frame.raster = Bytes(noise.begin(), noise.begin() + 300 * 240);
  GifFrame second = frame;
  second.raster = Bytes(noise.begin() + 300 * 240, noise.begin() + 2 * 300 * 240);
  files.push_back(EncodeGif(300, 240, std::vector<GifRgb>(256), 0, {frame, second}));
  return files;
}

TEST_F(ImageMeasure, AgreesWithTheLoaderOnEveryCutAndFlip) {
  // Damaged headers claim huge pictures: a modest limit keeps both paths from making them.
  SetMemoryBytesForTesting(uint64_t{256} << 20);
  for (const Bytes& file : ImageCorpus()) {
    EXPECT_TRUE(ExpectAgreement(file, "whole"));
    ForEachCutAndFlip(file, [](const Bytes& damaged, const std::string& what) { ExpectAgreement(damaged, what); });
  }
}

TEST_F(ImageMeasure, AgreesOnMarkersInsideJpegEntropyData) {
  // Stuffed bytes, restart, fill and end markers, tables, unknown markers, written over
  // and inserted into the scans of a baseline and a progressive stream, with and without
  // restart intervals: where decoding a scan stops decides the outcome.
  const Bytes samples = Pattern(40 * 24 * 3, 30);
  for (const auto& [progressive, restart_interval] : {std::pair{false, 0u}, {false, 1u}, {true, 0u}, {true, 2u}}) {
    const Bytes jpeg = EncodeJpeg(40, 24, 3, JCS_RGB, samples, progressive, 90, restart_interval);
    const Bytes scan_start{0xFF, 0xDA};
    const auto scan = std::search(jpeg.begin(), jpeg.end(), scan_start.begin(), scan_start.end());
    ASSERT_NE(scan, jpeg.end());
    int loaded = 0;
    for (auto at = scan; at < jpeg.end(); at += progressive ? 11 : 5) {
      for (const Bytes& marker : std::vector<Bytes>{{0xFF, 0x00},
                                                    {0xFF, 0xFF, 0x00},
                                                    {0xFF, 0x01},
                                                    {0xFF, 0xD3},
                                                    {0xFF, 0xD9},
                                                    {0xFF, 0xC4},
                                                    {0xFF, 0x05}}) {
        const auto offset = at - jpeg.begin();
        const std::string where = " at " + std::to_string(offset) + ", restart interval " +
                                  std::to_string(restart_interval) + (progressive ? ", progressive" : "");
        Bytes written = jpeg;
        std::copy_n(marker.begin(), std::min<ptrdiff_t>(ssize(marker), jpeg.end() - at), written.begin() + offset);
        if (ExpectAgreement(written, "written" + where)) ++loaded;
        Bytes inserted = jpeg;
        inserted.insert(inserted.begin() + offset, marker.begin(), marker.end());
        if (ExpectAgreement(inserted, "inserted" + where)) ++loaded;
      }
    }
    EXPECT_GT(loaded, 0);
  }
}

// Measuring keeps only a few rows of a stream's coefficients where it has several scans:
// the streams of several scans in inputs/ (progressive 4:2:0 and 4:4:4, restart
// intervals, arithmetic coding, one scan per component, a component in no scan, the
// first scans only), whole, cut and flipped.
TEST_F(ImageMeasure, AgreesOnStreamsOfSeveralScans) {
  SetMemoryBytesForTesting(uint64_t{256} << 20);
  int streams = 0;
  for (const auto& entry : std::filesystem::directory_iterator(IMAGESCAN_IMAGE_INPUTS)) {
    const std::string name = entry.path().filename().string();
    if (!name.starts_with("jpeg-progressive") && !name.starts_with("jpeg-scans")) continue;
    ++streams;
    std::ifstream in(entry.path(), std::ios::binary);
    const Bytes file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_TRUE(ExpectAgreement(file, name));
    ForEachCutAndFlip(
        file, [&name](const Bytes& damaged, const std::string& what) { ExpectAgreement(damaged, name + " " + what); });
  }
  EXPECT_EQ(streams, 8);
}

// A grey stream 2048 pixels wide, progressive (its only scan the DC one) or sequential,
// whose every block has the largest DC step, +32767: past 65538 blocks the running DC
// value overflows.
Bytes DcOverflowStream(int block_rows, bool progressive) {
  const auto segment = [](uint8_t marker, const Bytes& body) {
    const size_t length = body.size() + 2;
    Bytes bytes{0xFF, marker, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length)};
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
  };
  const int height = 8 * block_rows;
  Bytes jpeg{0xFF, 0xD8};
  Bytes quantisation(65, 1);
  quantisation[0] = 0;
  // Table 0 of each class: a one-bit code for DC category 15, and for the end of block.
  const Bytes dc_table{0x00, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 15};
  const Bytes ac_table{0x10, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00};
  const uint8_t spectral_end = progressive ? 0 : 63;
  for (const Bytes& s :
       {segment(0xDB, quantisation),
        segment(progressive ? 0xC2 : 0xC0,
                {8, static_cast<uint8_t>(height >> 8), static_cast<uint8_t>(height), 2048 >> 8, 0, 1, 1, 0x11, 0}),
        segment(0xC4, dc_table), segment(0xC4, ac_table), segment(0xDA, {1, 1, 0x00, 0, spectral_end, 0})}) {
    jpeg.insert(jpeg.end(), s.begin(), s.end());
  }
  // Each block: the DC code, fifteen 1 bits, and in a sequential stream the end-of-block
  // code; bytes of 0xFF are followed by their 0x00, and the last byte is padded with 1s.
  unsigned bits = 0;
  int count = 0;
  const auto put = [&](unsigned bit) {
    bits = bits << 1 | bit;
    if (++count < 8) return;
    jpeg.push_back(static_cast<uint8_t>(bits));
    if (bits == 0xFF) jpeg.push_back(0);
    bits = 0;
    count = 0;
  };
  for (int block = 0; block < 256 * block_rows; ++block) {
    put(0);
    for (int i = 0; i < 15; ++i) put(1);
    if (!progressive) put(0);
  }
  while (count != 0) put(1);
  jpeg.insert(jpeg.end(), {0xFF, 0xD9});
  return jpeg;
}

// libjpeg refuses such values in a progressive stream, while it decodes the scan, and
// lets them wrap around in a sequential one, which measuring does not decode.
TEST_F(ImageMeasure, AgreesOnDcValuesThatOverflow) {
  EXPECT_TRUE(ExpectAgreement(DcOverflowStream(255, true), "progressive, 65280 blocks"));
  EXPECT_FALSE(ExpectAgreement(DcOverflowStream(257, true), "progressive, 65792 blocks"));
  EXPECT_TRUE(ExpectAgreement(DcOverflowStream(257, false), "sequential, 65792 blocks"));
}

TEST_F(ImageMeasure, FilesAgreeWithTheLoaderAcrossReadWindows) {
  TempFolder folder;
  for (const Bytes& file : LargeFiles()) {
    ASSERT_GT(file.size(), size_t{64} << 10);
    for (const size_t cut :
         {file.size(), file.size() - 1, size_t{65536}, size_t{65537}, file.size() / 2, size_t{100}}) {
      const std::string bytes(file.begin(), file.begin() + static_cast<ptrdiff_t>(cut));
      folder.Put("image", bytes);
      const auto loaded = Loaded(ReadImageFile(kAutoNumber, folder.Text("image")));
      EXPECT_EQ(Shown(MeasureImageFile(folder.Text("image"))), Shown(loaded)) << file.size() << " bytes cut to " << cut;
      if (cut == file.size()) {
        EXPECT_TRUE(loaded.has_value()) << file.size() << " bytes";
      }
    }
  }
  // What the loader refuses to read is refused too: a missing file and a folder.
  EXPECT_FALSE(MeasureImageFile(folder.Text("missing")));
  EXPECT_FALSE(MeasureImageFile(folder.Text()));
}

// Every memory size from nothing up to one that holds the image: the loader and the
// measurer refuse and accept at the same sizes.
TEST_F(ImageMeasure, RefusalsAgreeAtEveryLimit) {
  for (const Bytes& file : ImageCorpus()) {
    for (uint64_t memory = 2;; memory += 2 + memory / 128) {
      SetMemoryBytesForTesting(memory);
      if (ExpectAgreement(file, "memory " + std::to_string(memory))) break;
      ASSERT_LT(memory, uint64_t{1} << 24) << "never loads";
    }
  }
}

}  // namespace
