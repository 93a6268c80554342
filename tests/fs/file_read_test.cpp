#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fs/ansi_text.h"
#include "fs/files.h"
#include "support/temp_folder.h"

using namespace std::string_literals;

namespace {

class FileReading : public testing::Test {
 protected:
  void TearDown() override { FileCloseAll(); }

  // Every line of the file at `name` in `format`, read the way the process command does.
  std::vector<std::u16string> ReadAll(const std::string& name, uint32_t flags, int format) {
    std::vector<std::u16string> lines;
    const int64_t id = FileOpen(kAutoNumber, dir.Text(name), flags);
    EXPECT_NE(id, 0);
    while (FileAtEnd(id) == 0) lines.push_back(FileReadLine(id, format));
    EXPECT_EQ(FileReadLine(id, format), u"");  // reading at the end changes nothing
    FileClose(id);
    return lines;
  }

  TempFolder dir;
};

using Lines = std::vector<std::u16string>;

TEST_F(FileReading, EveryKindOfLineEndEndsOneLineBufferedOrNot) {
  for (const uint32_t flags : {0u, OpenFlag::Unbuffered}) {
    SCOPED_TRACE(flags);
    dir.Put("ends", "a\r\nb\nc\rd");
    EXPECT_EQ(ReadAll("ends", flags, TextFormat::Ansi), (Lines{u"a", u"b", u"c", u"d"}));
    dir.Put("one", "a\r\n");
    EXPECT_EQ(ReadAll("one", flags, TextFormat::Ansi), (Lines{u"a"}));
    dir.Put("cr", "a\rb\r");
    EXPECT_EQ(ReadAll("cr", flags, TextFormat::Ansi), (Lines{u"a", u"b"}));
    dir.Put("zero", "ab\0cd\n\nef"s);
    EXPECT_EQ(ReadAll("zero", flags, TextFormat::Ansi), (Lines{u"ab", u"cd", u"", u"ef"}));
    dir.Put("empty", "");
    EXPECT_EQ(ReadAll("empty", flags, TextFormat::Ansi), Lines{});
  }
  // The end is reported as 1 with a buffer and -1 without.
  dir.Put("x", "a\r\n");
  const int64_t buffered = FileOpen(1, dir.Text("x"), 0);
  EXPECT_EQ(FileReadLine(1, 0), u"a");
  EXPECT_EQ(FileAtEnd(1), 1);
  FileClose(1);
  const int64_t unbuffered = FileOpen(1, dir.Text("x"), OpenFlag::Unbuffered);
  EXPECT_EQ(FileReadLine(1, 0), u"a");
  EXPECT_EQ(FileAtEnd(1), -1);
  EXPECT_NE(buffered, 0);
  EXPECT_NE(unbuffered, 0);
}

TEST_F(FileReading, LongLinesAndLinesAcrossRefillsReadWhole) {
  const std::string long_line(10000, 'x');
  // A CR LF pair split by the buffer's refill still ends one line.
  const std::string split = std::string(4095, 'y') + "\r\n" + "z";
  dir.Put("long", long_line + "\n" + split);
  EXPECT_EQ(ReadAll("long", 0, TextFormat::Ansi),
            (Lines{std::u16string(10000, u'x'), std::u16string(4095, u'y'), u"z"}));
}

TEST_F(FileReading, ToEndKeepsLineEndsUpToAZeroByte) {
  dir.Put("f", "a\r\nb\rc\0d"s);
  FileOpen(2, dir.Text("f"), 0);
  EXPECT_EQ(FileReadLine(2, TextFormat::Ansi | ReadFlag::ToEnd), u"a\r\nb\rc");
  EXPECT_EQ(FileReadLine(2, ReadFlag::ToEnd), u"d");
  EXPECT_NE(FileAtEnd(2), 0);
}

TEST_F(FileReading, Utf8PathReadsWholeCharacters) {
  // A stray continuation byte becomes "?"; a broken character does not swallow the line
  // end after it; a character cut short by the end of the file is dropped.
  dir.Put("f", "h\xC3\xA9\xF0\x9F\x98\x80\r\n\x80x\n\xC3\ny\xE2\x82");
  EXPECT_EQ(ReadAll("f", 0, TextFormat::Utf8), (Lines{u"h\u00E9\U0001F600", u"?x", u"\uFFFD", u"y"}));
  // Format 0 takes the file's default, which flags 0 make Utf8.
  EXPECT_EQ(ReadAll("f", 0, 0), ReadAll("f", 0, TextFormat::Utf8));
}

TEST_F(FileReading, Utf16PathReadsUnitsWithTheSameLineEnds) {
  const std::u16string text = u"a\r\nb\nc\rd\xD800\0e"s;
  std::string bytes;
  for (char16_t unit : text) bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  dir.Put("f", bytes + "\x01");  // an odd final byte is ignored
  EXPECT_EQ(ReadAll("f", 0, TextFormat::Utf16), (Lines{u"a", u"b", u"c", u"d\xD800", u"e"}));
  EXPECT_EQ(ReadAll("f", TextFormat::Utf16, 0), ReadAll("f", 0, TextFormat::Utf16));
}

TEST_F(FileReading, UnitGivenBackAcrossARefillIsReadAgain) {
  // After the 3-byte line the units sit at odd offsets, so the unit after the CR straddles
  // the buffer's refill and must be given back past its start.
  std::string bytes = "x\r\n";
  for (int i = 0; i < 2045; ++i) bytes += "a\0"s;
  bytes += "\r\0b\0c\0"s;
  ASSERT_EQ(bytes.find("b"), 4095u);
  dir.Put("f", bytes);
  FileOpen(3, dir.Text("f"), 0);
  EXPECT_EQ(FileReadLine(3, TextFormat::Ansi), u"x");
  EXPECT_EQ(FileReadLine(3, TextFormat::Utf16), std::u16string(2045, u'a'));
  EXPECT_EQ(FileReadLine(3, TextFormat::Utf16), u"bc");
  EXPECT_EQ(FileAtEnd(3), 1);
}

TEST_F(FileReading, ByteOrderMarkSetsTheDefaultFormat) {
  dir.Put("utf16",
          "\xFF\xFE"
          "a\0\r\0\n\0"s);
  dir.Put("utf8",
          "\xEF\xBB\xBF"
          "\xC3\xA9\r\n");
  dir.Put("none", "\xC3\xA9\r\n");
  dir.Put("short", "\xEF\xBB");
  const uint32_t mark = OpenFlag::ByteOrderMark;
  EXPECT_EQ(ReadAll("utf16", mark | TextFormat::Ansi, 0), (Lines{u"a"}));
  EXPECT_EQ(ReadAll("utf8", mark | TextFormat::Ansi, 0), (Lines{u"\u00E9"}));
  // Without a mark reading starts at the start, in the format the flags give.
  EXPECT_EQ(ReadAll("none", mark, 0), (Lines{u"\u00E9"}));
  EXPECT_EQ(ReadAll("none", mark | TextFormat::Utf16, 0), (Lines{u"\uA9C3\u0A0D"}));
  // Too short for a mark: both bytes are read, in the code page.
  EXPECT_EQ(ReadAll("short", mark | TextFormat::Ansi, 0), (Lines{TextFromAnsi("\xEF\xBB")}));
}

TEST_F(FileReading, EmptyNumbersGiveTheFallBacks) {
  EXPECT_EQ(FileReadLine(7, 0), u"");
  EXPECT_EQ(FileAtEnd(7), 0);
  EXPECT_EQ(FileWriteLine(7, u"x", 0), 0);
  EXPECT_EQ(FileReadLine(-5, 0), u"");
  EXPECT_EQ(FileAtEnd(kMaxSlotNumber + 1), 0);
  FileFlush(7);
  FileClose(7);
}

}  // namespace
