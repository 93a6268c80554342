// Ansi on Windows is the system's ANSI code page; these cases are written for 1252, the
// code page of Western European systems and of Wine in an English or neutral locale.
#include <windows.h>

#include <gtest/gtest.h>

#include "fs/files.h"
#include "fs/text_from_bytes.h"
#include "support/temp_folder.h"

using namespace std::string_literals;

namespace {

TEST(AnsiText, IsTheCodePageAndRendersWhatItLacksAsItsDefault) {
  if (GetACP() != 1252) GTEST_SKIP() << "the ANSI code page is " << GetACP();
  TempFolder dir;
  ASSERT_NE(FileCreate(1, dir.Text("f"), 0), 0);
  // A Chinese letter, a lone surrogate and a character beyond 16 bits are not in it.
  FileWriteLine(1, u"caf\u00E9 \u4E2D\xD800\U0001F600 \u20AC", TextFormat::Ansi);
  FileWriteLine(1, u"\u00E9", 9);  // other codes behave as Ansi
  FileClose(1);
  EXPECT_EQ(dir.Get("f"), "caf\xE9 ???? \x80\r\n\xE9\r\n");

  for (const int format : {TextFormat::Ansi, 7}) {
    ASSERT_NE(FileOpen(1, dir.Text("f"), 0), 0);
    EXPECT_EQ(FileReadLine(1, format), u"caf\u00E9 ???? \u20AC");
    FileClose(1);
  }

  // No look-alikes: a full-width quote and backslash would break a scene's string, and
  // an Omega would make "\u03A9mega.png" the same name as "Omega.png".
  ASSERT_NE(FileCreate(1, dir.Text("g"), 0), 0);
  FileWriteLine(1, u"\uFF02 \uFF3C \u03A9mega.png", TextFormat::Ansi);
  FileClose(1);
  EXPECT_EQ(dir.Get("g"), "? ? ?mega.png\r\n");

  const std::string bytes = "caf\xC3\xA9\xE9";
  EXPECT_EQ(TextFromBytes(bytes.data(), 6, TextFormat::Ansi), u"caf\u00C3\u00A9\u00E9");
  EXPECT_EQ(TextFromBytes(bytes.data(), 4, 13), u"caf\u00C3");  // bytes, not characters
  EXPECT_EQ(TextFromBytes(bytes.data(), 6, TextFormat::Utf8), u"caf\u00E9\uFFFD");
}

}  // namespace
