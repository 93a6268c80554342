// The scene file as the process command's writer makes it: header and footer turned into
// strings and written in the file's default format, the add_image lines in Ansi.
#include <gtest/gtest.h>

#include <string>

#include "app/scene/scene_file_writer.h"
#include "fs/files.h"
#include "scene_test_support.h"
#include "support/scene_expectations.h"
#include "support/test_images.h"

namespace {

class SceneFile : public SceneTest {};

class NoObserver : public ScanObserver {
 public:
  void ImageFound(const std::u16string&, ImageSize) override {}
};

TEST_F(SceneFile, HoldsHeaderLinesAndFooterEachEndedByCrLf) {
  TempFolder dir;
  stdfs::create_directories(dir.Path("pics/trip"));
  dir.Put("pics/trip/beach.png", EncodeTestPng(640, 480));
  dir.Put("pics/wide.gif", EncodeTestGif(40000, 1));
  NoObserver observer;
  const SceneFileResult written = WriteSceneFileSafely(dir.Text("pics") + u"/", observer);
  EXPECT_EQ(written.system_error, 0);
  EXPECT_EQ(written.images, 2);
  const std::u16string path = dir.Text("pics/image_scan.pov");
  EXPECT_EQ(written.path, path);

  EXPECT_EQ(dir.Get("pics/image_scan.pov"),
            Scene(ExpectedLines(dir.Path("pics"), {{"trip/beach.png", {640, 480}}, {"wide.gif", {40000, 1}}})));

  // Read back as the process command does, to its end.
  ASSERT_NE(FileOpen(kSceneFileNumber, path, 0), 0);
  int count = 0;
  while (FileAtEnd(kSceneFileNumber) == 0) {
    FileReadLine(kSceneFileNumber, TextFormat::Ansi);
    ++count;
  }
  FileClose(kSceneFileNumber);
  // 74 header line ends, its own CR LF, 2 image lines, 88 footer line ends plus its last line.
  EXPECT_EQ(count, 74 + 1 + 2 + 89);
}

}  // namespace
