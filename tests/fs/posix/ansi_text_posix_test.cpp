// Ansi on Linux is UTF-8 that carries every other byte as U+DC80 + byte.
#include <gtest/gtest.h>

#include "fs/files.h"
#include "fs/text_from_bytes.h"
#include "support/temp_folder.h"

namespace {

TEST(AnsiText, LinesAndBytesCarryWhatIsNotUtf8) {
  TempFolder dir;
  dir.Put("f", "caf\xC3\xA9 \xE9\n");
  // Codes other than 2 and 25 behave as Ansi.
  for (const int format : {TextFormat::Ansi, 7}) {
    ASSERT_NE(FileOpen(1, dir.Text("f"), 0), 0);
    EXPECT_EQ(FileReadLine(1, format), u"caf\u00E9 \xDCE9");
    FileClose(1);
  }

  const std::string bytes = "caf\xC3\xA9\xE9";
  EXPECT_EQ(TextFromBytes(bytes.data(), 6, TextFormat::Ansi), u"caf\u00E9\xDCE9");
  EXPECT_EQ(TextFromBytes(bytes.data(), 6, 0), u"caf\u00E9\xDCE9");
  EXPECT_EQ(TextFromBytes(bytes.data(), 4, 13), u"caf\xDCC3");  // bytes, not characters
  EXPECT_EQ(TextFromBytes(bytes.data(), 6, TextFormat::Utf8), u"caf\u00E9\uFFFD");
}

}  // namespace
