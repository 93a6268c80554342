// Image files on Linux: names that are not UTF-8, FIFOs and devices.
#include <sys/stat.h>

#include "support/temp_folder.h"
#include "tests/image/image_fixture.h"

namespace {

class ImageLoaderOnLinux : public ImageTest {
 protected:
  TempFolder dir_;
};

TEST_F(ImageLoaderOnLinux, NamesThatAreNotUtf8OpenAndSpecialFilesFailAtOnce) {
  const Bytes png = EncodePng(MakePngPicture(0, 8, 2, {Bytes(2, 50)}));
  dir_.Put("bad\xff-name.png", std::string(png.begin(), png.end()));
  EXPECT_NE(ReadImageFile(kAutoNumber, dir_.Text("bad\xff-name.png")), 0);
  ASSERT_EQ(mkfifo(dir_.Path("x.png").c_str(), 0600), 0);
  EXPECT_EQ(ReadImageFile(kAutoNumber, dir_.Text("x.png")), 0);  // no writer: must not block
  EXPECT_EQ(ReadImageFile(kAutoNumber, u"/dev/zero"), 0);
}

}  // namespace
