#include "image/image_picture.h"

#include <cstring>

#include "support/temp_folder.h"
#include "tests/image/image_fixture.h"

namespace {

class ImagePicture : public ImageTest {
 protected:
  std::u16string Write(const std::string& name, const std::string& bytes) {
    dir_.Put(name, bytes);
    return dir_.Text(name);
  }
  TempFolder dir_;
};

bool SamePixels(const Bitmap& a, const Bitmap& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() && a.Depth() == b.Depth() &&
         a.SizeBytes() == b.SizeBytes() && std::memcmp(a.Bits(), b.Bits(), a.SizeBytes()) == 0;
}

TEST_F(ImagePicture, IsTheLoadersFirstFrameAndNothingWhereTheLoaderHasNoPicture) {
  // Two frames: the picture is the first.
  GifFrame first;
  first.width = first.height = 2;
  first.raster = {0, 1, 1, 0};
  GifFrame second = first;
  second.raster = {1, 1, 1, 1};
  const Bytes gif = EncodeGif(2, 2, {{255, 0, 0}, {0, 0, 255}}, 0, {first, second});
  const std::vector<std::string> images = {EncodeTestPng(5, 3), EncodeTestJpeg(9, 7),
                                           std::string(gif.begin(), gif.end())};
  for (size_t i = 0; i < images.size(); ++i) {
    const std::u16string path = Write("image" + std::to_string(i), images[i]);
    const std::optional<Bitmap> picture = ReadImagePicture(path);
    const int64_t loaded = ReadImageFile(kAutoNumber, path);
    ASSERT_TRUE(picture) << i;
    ASSERT_NE(loaded, 0) << i;
    EXPECT_TRUE(SamePixels(*picture, *ImageFind(loaded)->frames[0].bitmap)) << i;
  }

  // Where the loader refuses, so does the picture; an icon the loader keeps has none.
  const std::string radiance = "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 2 +X 2\n";
  const Bytes icon = MakeIcon({{16, 16, 32, IconBitmap(16, 16, 32)}});
  const std::string png = EncodeTestPng(40, 40);
  for (const std::u16string& path :
       {Write("notes.png", "just text"), Write("sky.hdr", radiance), Write("cut.png", png.substr(0, png.size() / 2)),
        Write("icon.png", std::string(icon.begin(), icon.end())), dir_.Text("missing.png"), dir_.Text("")}) {
    EXPECT_FALSE(ReadImagePicture(path)) << std::string(path.begin(), path.end());
  }
  EXPECT_NE(ReadImageFile(kAutoNumber, dir_.Text("icon.png")), 0);
  EXPECT_EQ(ReadImageFile(kAutoNumber, dir_.Text("cut.png")), 0);
}

}  // namespace
