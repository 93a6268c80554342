// Files on Linux: escaped bytes, advisory sharing, FIFOs, size limits.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cerrno>

#include "tests/fs/file_writing.h"

using namespace std::string_literals;

namespace {

TEST_F(FileWriting, AnsiLinesGiveEscapedBytesBack) {
  ASSERT_NE(FileCreate(1, dir.Text("f"), 0), 0);
  FileWriteLine(1, u"\u00E9\xDCE9", TextFormat::Ansi);  // the escape gives the byte back
  FileWriteLine(1, u"\xDCE9", 9);                       // other codes behave as Ansi
  FileClose(1);
  EXPECT_EQ(dir.Get("f"), "\xC3\xA9\xE9\r\n\xE9\r\n");
}

TEST_F(FileWriting, SharersAdmitEachOtherButNoExclusiveOpener) {
  dir.Put("f", "kept\r\n");
  // Advisory locks cannot tell readers from writers: every sharer admits every sharer.
  ASSERT_NE(FileOpen(10, dir.Text("f"), OpenFlag::ShareRead), 0);
  EXPECT_NE(FileOpen(11, dir.Text("f"), OpenFlag::ShareAll), 0);
  EXPECT_EQ(FileOpen(12, dir.Text("f"), 0), 0);
  FileClose(10);
  FileClose(11);
  EXPECT_NE(FileOpen(12, dir.Text("f"), 0), 0);
}

TEST_F(FileWriting, FifosNeitherBlockNorOpen) {
  // Only plain files open: a FIFO without a writer neither blocks the open nor opens.
  ASSERT_EQ(mkfifo(dir.Path("fifo").c_str(), 0600), 0);
  EXPECT_EQ(FileOpenAs(FileOpenMode::ReadOnly, 13, dir.Text("fifo"), 0), 0);
  EXPECT_EQ(FileCreate(13, dir.Text("fifo"), 0), 0);
}

TEST_F(FileWriting, NamesThatAreNotUtf8OpenAndRoundTrip) {
  const std::u16string name = dir.Text("\xE9");
  EXPECT_EQ(name.back(), u'\xDCE9');
  FileCreate(14, name, 0);
  FileWriteLine(14, name, TextFormat::Ansi);
  FileClose(14);
  EXPECT_EQ(dir.Get("\xE9"), dir.Path("\xE9").string() + "\r\n");
  FileOpen(14, name, 0);
  EXPECT_EQ(FileReadLine(14, TextFormat::Ansi), name);
}

TEST_F(FileWriting, WritesRefusedByTheSystemEndWithoutHarm) {
  // A file size limit makes the system take part of a write and refuse the rest.
  signal(SIGXFSZ, SIG_IGN);
  rlimit old_limit;
  getrlimit(RLIMIT_FSIZE, &old_limit);
  rlimit limit = old_limit;
  limit.rlim_cur = 5000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  FileCreate(15, dir.Text("u"), OpenFlag::Unbuffered);
  const int64_t partial = FileWriteLine(15, std::u16string(4999, u'x'), 0);
  const int64_t refused = FileWriteLine(15, u"", 0);
  FileCreate(16, dir.Text("b"), 0);
  for (int i = 0; i < 1000; ++i) FileWriteLine(16, u"0123456789", 0);
  const int sync_error = FileSync(16);
  FileCreate(17, dir.Text("fits"), 0);
  FileWriteLine(17, u"small", 0);
  const int fits_error = FileSync(17);
  FileCloseAll();
  setrlimit(RLIMIT_FSIZE, &old_limit);
  // A shortfall anywhere is remembered and reported with the system's reason.
  EXPECT_EQ(sync_error, EFBIG);
  EXPECT_EQ(fits_error, 0);
  EXPECT_NE(FileSync(16), 0);  // closed: no file to vouch for
  EXPECT_EQ(partial, 1);       // the system took the CR alone
  EXPECT_EQ(refused, 0);
  EXPECT_EQ(dir.Get("u"), std::string(4999, 'x') + "\r");
  EXPECT_EQ(DiskSize("b"), 5000u);
}

}  // namespace
