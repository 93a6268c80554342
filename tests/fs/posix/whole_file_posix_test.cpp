// Whole files on Linux: names that are not UTF-8, links, FIFOs, devices, others' locks.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "fs/text_encoding.h"
#include "tests/fs/whole_file_fixture.h"

namespace {

TEST_F(WholeFile, ReadsNamesThatAreNotUtf8AndFollowsLinks) {
  std::ofstream(folder_ / "a\xfe.bin", std::ios::binary) << "bytes";
  const auto file = ReadWholeFile(Path("a\xfe.bin"));
  ASSERT_TRUE(file);
  EXPECT_EQ(file->size, 5u);
  std::filesystem::create_symlink(folder_ / "a\xfe.bin", folder_ / "link");
  const auto linked = ReadWholeFile(Path("link"));
  ASSERT_TRUE(linked);
  EXPECT_EQ(linked->size, 5u);
}

TEST_F(WholeFile, RefusesWhatIsNotARegularFile) {
  ASSERT_EQ(mkfifo((folder_ / "x.png").c_str(), 0600), 0);
  // The FIFO is never even opened: an open would release a writer waiting on it.
  const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(watch, 0);
  ASSERT_GE(inotify_add_watch(watch, (folder_ / "x.png").c_str(), IN_OPEN), 0);
  EXPECT_FALSE(ReadWholeFile(Path("x.png")));
  std::filesystem::create_symlink(folder_ / "x.png", folder_ / "to-fifo");
  EXPECT_FALSE(ReadWholeFile(Path("to-fifo")));
  char event[sizeof(inotify_event) + NAME_MAX + 1];
  EXPECT_LT(read(watch, event, sizeof event), 0) << "the FIFO was opened";
  close(watch);
  EXPECT_FALSE(ReadWholeFile(TextFromEscapedBytes(folder_.string())));
  EXPECT_FALSE(ReadWholeFile(u"/dev/null"));
  EXPECT_FALSE(ReadWholeFile(Path("missing")));
  EXPECT_FALSE(ReadWholeFile(u""));
  EXPECT_FALSE(ReadWholeFile(Path(std::string("nul\0name", 8))));
}

TEST_F(WholeFile, ReadsAFileThatAnotherOpenerLocksExclusively) {
  std::ofstream(folder_ / "locked.png", std::ios::binary) << "locked bytes";
  const int holder = open((folder_ / "locked.png").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(holder, 0);
  ASSERT_EQ(flock(holder, LOCK_EX | LOCK_NB), 0);
  const auto file = ReadWholeFile(Path("locked.png"));
  close(holder);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->size, 12u);
}

}  // namespace
