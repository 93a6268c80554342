#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "fs/files.h"
#include "tests/fs/expected_errors.h"
#include "tests/fs/file_writing.h"

using namespace std::string_literals;

namespace {

TEST_F(FileWriting, LinesAreEncodedAndEndWithCrLf) {
  ASSERT_NE(FileCreate(1, dir.Text("f"), 0), 0);
  EXPECT_EQ(FileWriteLine(1, u"abc", 0), 2);
  EXPECT_EQ(FileWriteLine(1, u"", 0), 2);
  FileWriteLine(1, u"\u00E9\xDCE9", TextFormat::Utf8);  // strict UTF-8: no escaped byte
  EXPECT_EQ(FileWriteLine(1, u"a\xD800", TextFormat::Utf16), 4);
  EXPECT_EQ(FileWriteLine(1, u"", TextFormat::Utf16), 4);
  FileClose(1);
  EXPECT_EQ(dir.Get("f"), "abc\r\n\r\n\xC3\xA9\xEF\xBF\xBD\r\na\0\0\xD8\r\0\n\0\r\0\n\0"s);
}

TEST_F(FileWriting, ShortPiecesAreGatheredAndLongOnesGoStraightOut) {
  ASSERT_NE(FileCreate(2, dir.Text("f"), 0), 0);
  // What is on the disk after each line follows from the 4096-byte buffer: a piece
  // shorter than the free room is kept, anything else flushes first, and a piece of
  // 4096 bytes or more is written at once.
  const struct {
    size_t length;
    uintmax_t disk;
  } steps[] = {{4094, 4094}, {4093, 8189}, {4095, 12286}, {4096, 16384}, {4097, 20483}, {10, 20483}};
  uintmax_t expected_total = 0;
  for (const auto& step : steps) {
    FileWriteLine(2, std::u16string(step.length, u'x'), 0);
    expected_total += step.length + 2;
    EXPECT_EQ(DiskSize("f"), step.disk) << step.length;
  }
  FileFlush(2);
  EXPECT_EQ(DiskSize("f"), expected_total);
  FileClose(2);
  EXPECT_EQ(dir.Get("f"), std::string(4094, 'x') + "\r\n" + std::string(4093, 'x') + "\r\n" + std::string(4095, 'x') +
                              "\r\n" + std::string(4096, 'x') + "\r\n" + std::string(4097, 'x') + "\r\n" +
                              std::string(10, 'x') + "\r\n");
}

TEST_F(FileWriting, PendingBytesReachTheDiskAtCloseAndShutdown) {
  FileCreate(3, dir.Text("a"), 0);
  const int64_t id = FileCreate(kAutoNumber, dir.Text("b"), 0);
  ASSERT_LT(id, -1);
  FileWriteLine(3, u"one", 0);
  FileWriteLine(id, u"two", 0);
  EXPECT_EQ(DiskSize("a"), 0u);
  FileCloseAll();
  EXPECT_EQ(dir.Get("a"), "one\r\n");
  EXPECT_EQ(dir.Get("b"), "two\r\n");
  EXPECT_EQ(FileWriteLine(id, u"late", 0), 0);

  FileCreate(4, dir.Text("c"), 0);
  FileWriteLine(4, u"three", 0);
  FileFilesEnd();
  EXPECT_EQ(dir.Get("c"), "three\r\n");
  FileFilesInit();
}

TEST_F(FileWriting, WriteAfterAPartialReadLandsAfterTheConsumedBytes) {
  dir.Put("f", "first\r\n" + std::string(6000, 'z'));
  FileOpen(5, dir.Text("f"), 0);
  EXPECT_EQ(FileReadLine(5, 0), u"first");
  FileWriteLine(5, u"NEW", 0);
  EXPECT_EQ(FileReadLine(5, 0), std::u16string(6000 - 5, u'z'));
  FileClose(5);
  EXPECT_EQ(dir.Get("f"), "first\r\nNEW\r\n" + std::string(6000 - 5, 'z'));
}

TEST_F(FileWriting, ModesCreateTruncateAppendAndRefuseWrites) {
  dir.Put("f", "old content\r\n");
  FileCreate(6, dir.Text("f"), 0);
  FileClose(6);
  EXPECT_EQ(dir.Get("f"), "");

  EXPECT_NE(FileOpen(6, dir.Text("new"), 0), 0);  // created when missing
  EXPECT_NE(FileAtEnd(6), 0);
  FileClose(6);
  EXPECT_TRUE(std::filesystem::exists(dir.Path("new")));

  dir.Put("f", "a\r\n");
  FileOpen(6, dir.Text("f"), OpenFlag::SeekEnd);
  FileWriteLine(6, u"b", 0);
  FileClose(6);
  EXPECT_EQ(dir.Get("f"), "a\r\nb\r\n");

  EXPECT_EQ(FileOpenAs(FileOpenMode::ReadOnly, 6, dir.Text("missing"), 0), 0);
  EXPECT_FALSE(std::filesystem::exists(dir.Path("missing")));
  for (const uint32_t flags : {0u, OpenFlag::Unbuffered}) {
    ASSERT_NE(FileOpenAs(FileOpenMode::ReadOnly, 6, dir.Text("f"), flags), 0);
    EXPECT_EQ(FileWriteLine(6, u"c", 0), 0);
    EXPECT_EQ(FileReadLine(6, 0), u"a");
    FileClose(6);
    EXPECT_EQ(dir.Get("f"), "a\r\nb\r\n");
  }
}

TEST_F(FileWriting, ByteOrderMarkIsWrittenForUtf8AndUtf16Only) {
  const uint32_t mark = OpenFlag::ByteOrderMark;
  FileCreate(7, dir.Text("u16"), mark | TextFormat::Utf16);
  FileWriteLine(7, u"a", 0);
  FileCreate(8, dir.Text("u8"), mark);
  FileWriteLine(8, u"a", 0);
  FileCreate(9, dir.Text("ansi"), mark | TextFormat::Ansi);
  FileWriteLine(9, u"a", 0);
  FileCloseAll();
  EXPECT_EQ(dir.Get("u16"),
            "\xFF\xFE"
            "a\0\r\0\n\0"s);
  EXPECT_EQ(dir.Get("u8"),
            "\xEF\xBB\xBF"
            "a\r\n");
  EXPECT_EQ(dir.Get("ansi"), "a\r\n");
}

TEST_F(FileWriting, ExclusiveFilesAdmitNoSecondOpener) {
  ASSERT_NE(FileCreate(10, dir.Text("f"), 0), 0);
  FileWriteLine(10, u"kept", 0);
  EXPECT_EQ(FileOpen(11, dir.Text("f"), 0), 0);
  EXPECT_EQ(FileOpen(11, dir.Text("f"), OpenFlag::ShareAll), 0);
  // A refused create must not empty the file held by the first opener.
  EXPECT_EQ(FileCreate(11, dir.Text("f"), 0), 0);
  EXPECT_EQ(FileWriteLine(11, u"x", 0), 0);  // the failed open left the number free
  FileClose(10);
  EXPECT_EQ(dir.Get("f"), "kept\r\n");
}

TEST_F(FileWriting, FailedOpensLeaveTheNumberFreeAfterClosingItsFile) {
  FileCreate(13, dir.Text("held"), 0);
  FileWriteLine(13, u"pending", 0);
  std::filesystem::create_directory(dir.Path("folder"));
  EXPECT_EQ(FileOpen(13, dir.Text("folder"), 0), 0);
  EXPECT_EQ(dir.Get("held"), "pending\r\n");
  EXPECT_EQ(FileAtEnd(13), 0);
  EXPECT_EQ(FileCreate(13, dir.Text("no/such/folder/f"), 0), 0);
  EXPECT_EQ(FileCreate(kAutoNumber, dir.Text("folder"), 0), 0);
  EXPECT_EQ(FileCreate(-2, dir.Text("f"), 0), 0);  // not a slot number nor kAutoNumber
  EXPECT_EQ(FileCreate(kMaxSlotNumber + 1, dir.Text("f"), 0), 0);
  // A NUL inside the path must not open the shorter path before it.
  EXPECT_EQ(FileCreate(13, dir.Text("cut") + u'\0' + u"tail", 0), 0);
  EXPECT_FALSE(std::filesystem::exists(dir.Path("cut")));
  EXPECT_FALSE(std::filesystem::exists(dir.Path("f")));
  EXPECT_EQ(FileCreate(13, u"", 0), 0);
}

}  // namespace

TEST(FileErrors, FailedOpensTellTheSystemsReason) {
  TempFolder dir;
  EXPECT_EQ(FileCreate(18, dir.Text("missing/x"), 0), 0);
  EXPECT_EQ(FileLastError(), kMissingFolderError);
  EXPECT_EQ(FileCreate(18, dir.Text(), 0), 0);
  EXPECT_EQ(FileLastError(), kFolderOpenedError);
  EXPECT_EQ(FileCreate(18, u"a\0b"s, 0), 0);
  EXPECT_EQ(FileLastError(), kBadNameError);
  FileCloseAll();
}
