// The scan on Linux: symbolic links, FIFOs, others' locks, names that are not UTF-8,
// and a backslash as an ordinary name character.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/scene_expectations.h"
#include "support/test_images.h"
#include "tests/app/scene_test_support.h"

namespace {

TEST_F(ImageScanTest, SurvivesLoopsBrokenLinksSpecialFilesAndOddNames) {
  TempFolder folder;
  stdfs::create_directories(folder.Path("sub/deeper"));
  folder.Put("sub/deeper/in.png", EncodeTestPng(4, 4));
  stdfs::create_directory_symlink("..", folder.Path("sub/deeper/up"));        // back to sub
  stdfs::create_directory_symlink(folder.Path(""), folder.Path("sub/root"));  // back to the top
  stdfs::create_symlink(folder.Path("missing.png"), folder.Path("dangling.png"));
  ASSERT_EQ(mkfifo(folder.Path("pipe.png").c_str(), 0600), 0);  // must not block the scan
  folder.Put("caf\xE9.png", EncodeTestPng(6, 3));               // not valid UTF-8
  folder.Put("locked.gif", EncodeTestGif(5, 7));
  // Another program's exclusive lock does not keep the scan from reading the image.
  const int holder = open(folder.Path("locked.gif").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(flock(holder, LOCK_EX | LOCK_NB), 0);
  stdfs::create_directory(folder.Path("other"));
  stdfs::create_directory_symlink(folder.Path("other"), folder.Path("to-other"));

  RecordingObserver observer;
  const auto [lines, ok] = ScanToText(folder.Text() + u"/", observer);
  ASSERT_TRUE(ok);
  // in.png once: the links back never lead into the walk again.
  EXPECT_EQ(lines.find(Line("sub/deeper/in.png", 4, 4)), lines.rfind(Line("sub/deeper/in.png", 4, 4)));
  EXPECT_NE(lines.find(Line("sub/deeper/in.png", 4, 4)), std::string::npos);
  EXPECT_NE(lines.find(Line("dangling.png", 1, 1)), std::string::npos);
  EXPECT_NE(lines.find(Line("pipe.png", 1, 1)), std::string::npos);
  // The name's own bytes reach the scene file.
  EXPECT_NE(lines.find(Line("caf\xE9.png", 6, 3)), std::string::npos);
  EXPECT_NE(lines.find(Line("locked.gif", 5, 7)), std::string::npos) << lines;
  close(holder);
  EXPECT_EQ(observer.images.size(), 5u);
}

TEST_F(ImageScanTest, AFolderWhoseNameEndsInABackslashGetsItsSlash) {
  TempFolder folder;
  stdfs::create_directory(folder.Path("d"));
  folder.Put("d/i.png", EncodeTestPng(2, 2));
  // A folder whose name ends in a backslash is an ordinary folder and gets its "/".
  stdfs::create_directory(folder.Path("d/x\\"));
  folder.Put("d/x\\/j.png", EncodeTestPng(3, 5));
  RecordingObserver none;
  EXPECT_EQ(ScanToText(folder.Text() + u"/d/", none).first,
            ExpectedLines(folder.Path("d"), {{"i.png", {2, 2}}, {"x\\/j.png", {3, 5}}}));
}

}  // namespace
