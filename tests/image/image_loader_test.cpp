#include <filesystem>

#include "support/temp_folder.h"
#include "tests/image/image_fixture.h"

namespace {

class ImageLoader : public ImageTest {
 protected:
  // Writes the bytes under the name and gives the path as text.
  std::u16string Write(const std::string& name, const Bytes& bytes) {
    dir_.Put(name, std::string(bytes.begin(), bytes.end()));
    return Path(name);
  }
  std::u16string Path(const std::string& name) const { return dir_.Text(name); }
  TempFolder dir_;
};

Bytes SmallPng(uint32_t width) { return EncodePng(MakePngPicture(0, 8, width, {Bytes(width, 50)})); }

TEST_F(ImageLoader, FormatComesFromContentNotName) {
  const int64_t id = ReadImageFile(kAutoNumber, Write("x.jpg", SmallPng(3)));
  ASSERT_NE(id, 0);
  EXPECT_EQ(Image(id).format_id, kFormatPng);
  EXPECT_EQ(ImagePixelWidth(id), 3);

  EXPECT_EQ(ReadImageFile(kAutoNumber, Write("empty.png", {})), 0);
  const std::string radiance = "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 2 +X 2\n";
  const Bytes hdr(radiance.begin(), radiance.end());
  EXPECT_EQ(ReadImageFile(kAutoNumber, Write("sky.hdr", hdr)), 0);
  EXPECT_EQ(ReadImageFile(kAutoNumber, Path("missing.png")), 0);
  EXPECT_EQ(ReadImageFile(kAutoNumber, Path("")), 0);
}

TEST_F(ImageLoader, FoldersFailAtOnce) {
  std::filesystem::create_directory(dir_.Path("folder.png"));
  EXPECT_EQ(ReadImageFile(kAutoNumber, Path("folder.png")), 0);
}

TEST_F(ImageLoader, NumbersAndSlots) {
  const Bytes three = SmallPng(3);
  const Bytes seven = SmallPng(7);
  const int64_t a = Load(three);
  const int64_t b = Load(three);
  ASSERT_NE(a, 0);
  ASSERT_NE(b, 0);
  EXPECT_NE(a, b);
  EXPECT_NE(a, 5);
  ReleaseImage(a);
  EXPECT_EQ(ImagePixelWidth(a), 0);
  EXPECT_EQ(ImagePixelWidth(b), 3);

  EXPECT_NE(DecodeImageMemory(5, three), 0);
  EXPECT_NE(DecodeImageMemory(5, seven), 0);
  EXPECT_EQ(ImagePixelWidth(5), 7);
  EXPECT_NE(DecodeImageMemory(0, seven), 0);  // slot 0 still answers non-zero

  // A file that cannot be read leaves the slot alone; data that loads nothing empties it.
  EXPECT_EQ(ReadImageFile(5, Path("missing.png")), 0);
  EXPECT_EQ(ImagePixelWidth(5), 7);
  EXPECT_EQ(DecodeImageMemory(5, Bytes{1, 2, 3}), 0);
  EXPECT_EQ(ImageFind(5), nullptr);
  EXPECT_EQ(ImagePixelHeight(5), 0);
  ReleaseImage(5);  // nothing there: nothing happens
  ReleaseImage(12345);

  EXPECT_EQ(DecodeImageMemory(kMaxSlotNumber + 1, three), 0);
  EXPECT_EQ(DecodeImageMemory(-7, three), 0);

  ReleaseImage(kAutoNumber);
  EXPECT_EQ(ImagePixelWidth(b), 0);
  EXPECT_EQ(ImagePixelWidth(0), 0);
}

TEST_F(ImageLoader, EachDecoderIsRegisteredOnce) {
  InitDecoderRegistry();
  RegisterBmpDecoder();
  RegisterPngDecoder();
  RegisterPngDecoder();
  RegisterJpegDecoder();
  RegisterGifDecoder();
  // A descriptor that lacks a routine is refused.
  static DecoderDescriptor incomplete = kCountingDecoder;
  incomplete.header_size = nullptr;
  EXPECT_FALSE(RegisterDecoder(incomplete));
  // Four decoders now; room for 26 more distinct ones, then no more.
  static DecoderDescriptor extra[27];
  int added = 0;
  for (DecoderDescriptor& d : extra) {
    d = kCountingDecoder;
    added += RegisterDecoder(d) ? 1 : 0;
  }
  EXPECT_EQ(added, kMaxDecoders - 4);
  EXPECT_NE(Load(SmallPng(2)), 0);
}

}  // namespace
