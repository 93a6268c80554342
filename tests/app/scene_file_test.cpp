// The scene file as the process command writes it: header and footer turned into strings
// and written in the file's default format, the add_image lines in Ansi.
#include <gtest/gtest.h>

#include <string>

#include "app/scene/scene_format.h"
#include "fs/files.h"
#include "fs/text_encoding.h"
#include "fs/text_from_bytes.h"
#include "fs/temp_folder.h"

namespace {

TEST(SceneFile, HoldsHeaderLinesAndFooterEachEndedByCrLf) {
  TempFolder dir;
  const std::u16string path = dir.Text("image_scan.pov");
  ASSERT_NE(FileCreate(5, path, 0), 0);
  FileWriteLine(5, TextFromBytes(kSceneHeader.data(), static_cast<int64_t>(kSceneHeader.size()), TextFormat::Utf8), 0);
  FileWriteLine(5, AddImageLine(u"trip/beach.png", 640, 480), TextFormat::Ansi);
  FileWriteLine(5, AddImageLine(TextFromEscapedBytes("odd/\xE9.gif"), 40000, 1), TextFormat::Ansi);
  FileWriteLine(5, TextFromBytes(kSceneFooter.data(), static_cast<int64_t>(kSceneFooter.size()), TextFormat::Utf8), 0);
  FileClose(5);

  const std::string lines =
      "add_image ( \"trip/beach.png\", 640, 480 ) \r\n"
      "add_image ( \"odd/\xE9.gif\", 40000, 1 ) \r\n";
  EXPECT_EQ(dir.Get("image_scan.pov"),
            std::string(kSceneHeader) + "\r\n" + lines + std::string(kSceneFooter) + "\r\n");

  // Read back as the process command does, to its end.
  ASSERT_NE(FileOpen(5, path, 0), 0);
  int count = 0;
  while (FileAtEnd(5) == 0) {
    FileReadLine(5, TextFormat::Ansi);
    ++count;
  }
  FileClose(5);
  // 74 header line ends, its own CR LF, 2 image lines, 88 footer line ends plus its last line.
  EXPECT_EQ(count, 74 + 1 + 2 + 89);
}

}  // namespace
