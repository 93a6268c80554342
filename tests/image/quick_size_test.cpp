#include "image/quick_size.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/image_fixture.h"
#include "image/image_measure.h"
#include "support/temp_folder.h"
#include "support/test_images.h"

namespace {

std::span<const uint8_t> AsBytes(const std::string& text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

std::string AsText(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// "w x h", or "none".
std::string QuickText(const std::string& data) {
  const auto size = QuickImageSize(AsBytes(data));
  return size ? std::to_string(size->width) + " x " + std::to_string(size->height) : "none";
}

std::string Hdr(const std::string& resolution) {
  return "#?RADIANCE\n# made by a test\nFORMAT=32-bit_rle_rgbe\nEXPOSURE=1.0\n\n" + resolution + "\n\x02\x02\x01\x00";
}

class QuickSizeTest : public ImageTest {};

TEST_F(QuickSizeTest, ReadsFilesInPiecesAsTheyAre) {
  TempFolder folder;
  // A JPEG whose frame header lies behind large segments, read from a file in pieces.
  const std::string jpeg = EncodeTestJpeg(90, 60);
  std::string padded = jpeg.substr(0, 2);
  for (int i = 0; i < 3; ++i) padded += "\xFF\xE1\xFF\xFF" + std::string(0xFFFD, 'x');  // three full APP1
  padded += "\xFF\xFF\xFF" + jpeg.substr(2);  // fill bytes before the next marker
  folder.Put("padded.jpg", padded);
  const auto padded_size = QuickImageFileSize(folder.Text("padded.jpg"));
  ASSERT_TRUE(padded_size);
  EXPECT_EQ(padded_size->width, 90);
  EXPECT_EQ(padded_size->height, 60);
  EXPECT_FALSE(QuickImageFileSize(folder.Text("missing.png")));
}

TEST_F(QuickSizeTest, ReadsEveryOrientationOfARadianceResolutionLine) {
  for (const char* line : {"-Y 512 +X 1024", "+Y 512 +X 1024", "-Y 512 -X 1024", "+Y 512 -X 1024", "+X 1024 -Y 512",
                           "-X 1024 +Y 512", "+X 1024 +Y 512", "-X 1024 -Y 512"}) {
    EXPECT_EQ(QuickText(Hdr(line)), "1024 x 512") << line;
  }
  EXPECT_EQ(QuickText("#?RGBE\n\n-Y 3 +X 4\r\n"), "4 x 3");
  for (const char* bad : {"-Y 512 +Y 1024", "-Y 512", "Y 512 +X 1024", "-Y 512 +X", "-Y -5 +X 4", "-Y 0 +X 4",
                          "-Y 99999999999999999999 +X 4", "-Y 5 +X 4 junk", "-Z 5 +X 4", "-Y5 +X 4"}) {
    EXPECT_EQ(QuickText(Hdr(bad)), "none") << bad;
  }
  // No resolution line, no blank line, a header longer than any real one.
  EXPECT_EQ(QuickText("#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n"), "none");
  EXPECT_EQ(QuickText("#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n-Y 2 +X 2\n"), "none");
  EXPECT_EQ(QuickText("#?RADIANCE\n" + std::string(70000, 'x') + "\n\n-Y 2 +X 2\n"), "none");
}

TEST_F(QuickSizeTest, TakesADamagedFilesHeaderAndRefusesHeadersCutShort) {
  const std::string png = EncodeTestPng(40, 30);
  // The pixels gone: the header's size, once the header chunk with its CRC is whole.
  EXPECT_EQ(QuickText(png.substr(0, 33)), "40 x 30");
  EXPECT_EQ(QuickText(png.substr(0, 32)), "none");
  const std::string jpeg = EncodeTestJpeg(50, 20);
  const size_t frame = jpeg.find("\xFF\xC0");
  ASSERT_NE(frame, std::string::npos);
  const size_t frame_end = frame + 2 + 8 + 3 * 3;  // marker, fields, three components
  EXPECT_EQ(QuickText(jpeg.substr(0, frame_end)), "50 x 20");
  EXPECT_EQ(QuickText(jpeg.substr(0, frame_end - 1)), "none");
  EXPECT_EQ(QuickText(std::string("GIF89a\x05\x00\x06\x00\x80\x00", 12)), "none");
  EXPECT_EQ(QuickText(std::string("GIF89a\x05\x00\x06\x00\x80\x00\x00", 13)), "5 x 6");
  EXPECT_EQ(QuickText(std::string("GIF89a\x00\x00\x06\x00\x80\x00\x00", 13)), "none");
  EXPECT_EQ(QuickText("BM"), "none");
  // Cut at every length: never more than the header states, never a read past the end.
  for (const std::string& whole : {png, jpeg, EncodeTestGif(9, 9), Hdr("-Y 2 +X 3")}) {
    for (size_t length = 0; length < whole.size(); ++length) {
      const std::string cut = whole.substr(0, length);
      const std::string text = QuickText(cut);
      EXPECT_TRUE(text == "none" || text == QuickText(whole)) << length;
    }
  }
  EXPECT_EQ(QuickText("not an image at all"), "none");
  EXPECT_EQ(QuickText(""), "none");
}

TEST_F(QuickSizeTest, NeverTrustsALengthOrOffsetInTheData) {
  // JPEG segments whose lengths point past the end, are too short, or reach the scan
  // before any frame header.
  EXPECT_EQ(QuickText("\xFF\xD8\xFF\xE0\xFF\xF0 short"), "none");
  EXPECT_EQ(QuickText(std::string("\xFF\xD8\xFF\xE0\x00\x01", 6) + "xxxx"), "none");
  EXPECT_EQ(QuickText(std::string("\xFF\xD8\xFF\xDA\x00\x08", 6) + "12345678"), "none");
  EXPECT_EQ(QuickText(std::string("\xFF\xD8\xFF\xC0\x00\x05\x08\x00\x10\x00\x10", 11)), "none");
  EXPECT_EQ(QuickText(std::string("\xFF\xD8\xFF\xC0\x00\x11\x08\x00\x10\x00\x20", 11)), "none");
  EXPECT_EQ(QuickText(std::string("\xFF\xD8\xFF\xC0\x00\x11\x08\x00\x10\x00\x20\x03", 12) +
                      std::string("\x01\x22\x00\x02\x11\x01\x03\x11\x01", 9)),
            "32 x 16");
  // A PNG whose first chunk is not its header.
  std::string png = EncodeTestPng(4, 4);
  png.replace(12, 4, "IDAT");
  EXPECT_EQ(QuickText(png), "none");
  // Icons: a directory longer than the data, and an image offset far outside it.
  EXPECT_EQ(QuickText(std::string("\0\0\1\0\x05\0", 6) + std::string(16, '\0')), "none");
  std::string icon = std::string("\0\0\1\0\1\0", 6) + std::string("\0\x30\0\0\1\0\x20\0", 8);
  icon += std::string("\x28\0\0\0\xF0\xFF\xFF\x7F", 8);  // 40 bytes at offset 2^31 - 16
  EXPECT_EQ(QuickText(icon), "none");
  // BMP heights at the edge of 32 bits.
  Bytes bmp = MakeBmp(3, 2, 24, 0, {}, Bytes(24));
  bmp[22] = 0x00;
  bmp[23] = 0x00;
  bmp[24] = 0x00;
  bmp[25] = 0x80;  // height -2^31
  EXPECT_EQ(QuickText(AsText(bmp)), "none");
}

TEST_F(QuickSizeTest, RefusesWhatThePixelLimitRefuses) {
  const Bytes bmp = MakeBmp(64, 64, 24, 0, {}, Bytes(64 * 64 * 3));
  const Bytes icon = MakeIcon({{64, 64, 24, IconBitmap(64, 64, 24)}});
  constexpr uint64_t kBitmapBytes = 64 * 3 * 64;  // the 24-bit bitmap: half the memory
  SetMemoryBytesForTesting(2 * kBitmapBytes);
  EXPECT_EQ(QuickText(AsText(bmp)), "64 x 64");
  EXPECT_NE(Load(bmp), 0);
  SetMemoryBytesForTesting(2 * kBitmapBytes - 2);
  EXPECT_EQ(QuickText(AsText(bmp)), "none");
  EXPECT_EQ(Load(bmp), 0);
  // An icon makes no bitmap: no limit applies.
  EXPECT_EQ(QuickText(AsText(icon)), "64 x 64");
  EXPECT_NE(Load(icon), 0);
}

}  // namespace
