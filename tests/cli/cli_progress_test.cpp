#include "app/cli/cli_progress.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/cli/terminal_text.h"
#include "fs/text_encoding.h"

namespace {

std::string Contents(std::FILE* file) {
  std::fflush(file);
  std::rewind(file);
  std::string text;
  for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
  return text;
}

TEST(CliProgress, DrawsOneLineInPlaceAndClearsItAtTheEnd) {
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  ASSERT_TRUE(out && err);
  {
    CliProgress progress(out, err, true, true);
    progress.FolderEntered(u"/pics/");
    progress.ImageFound(u"a.png", {1, 1});
    progress.FolderEntered(u"/pics/" + std::u16string(100, u'x') + u"/");
    progress.Finish();
  }
  EXPECT_EQ(Contents(out), "a.png\n");
  const std::string shown = Contents(err);
  EXPECT_EQ(shown.rfind("\r\033[K1 folder, 0 images: /pics/", 0), 0u) << shown;
  // Before a path is printed the line goes, and at the end nothing of it stays.
  EXPECT_NE(shown.find("/pics/\r\033[K"), std::string::npos) << shown;
  EXPECT_TRUE(shown.ends_with("\r\033[K")) << shown;

  // Not a terminal, quiet: nothing at all.
  std::FILE* quiet_out = std::tmpfile();
  std::FILE* quiet_err = std::tmpfile();
  CliProgress quiet(quiet_out, quiet_err, false, false);
  quiet.FolderEntered(u"/pics/");
  quiet.ImageFound(u"a.png", {1, 1});
  quiet.Finish();
  EXPECT_EQ(Contents(quiet_out), "");
  EXPECT_EQ(Contents(quiet_err), "");
  for (std::FILE* file : {out, err, quiet_out, quiet_err}) std::fclose(file);
}

TEST(CliProgress, ShowsControlCharactersAndStrayBytesAsEscapesOnATerminalOnly) {
  // ESC, a C1 control (U+009B, which some terminals read as ESC [), a stray byte, DEL;
  // valid UTF-8 and characters outside the basic plane stay as they are.
  const std::u16string name =
      TextFromEscapedBytes("a\x1B]0;owned\x07 \xC2\x9B\xE9\x7F caf\xC3\xA9 \xF0\x9F\x96\xBC.png");
  EXPECT_EQ(TerminalText(name), "a\\x1B]0;owned\\x07 \\u009B\\xE9\\x7F caf\xC3\xA9 \xF0\x9F\x96\xBC.png");

  std::FILE* terminal = std::tmpfile();
  std::FILE* piped = std::tmpfile();
  std::FILE* err = std::tmpfile();
  ASSERT_TRUE(terminal && piped && err);
  CliProgress on_terminal(terminal, err, true, false, true);
  CliProgress on_pipe(piped, err, true, false, false, '\0');
  on_terminal.ImageFound(u"x\ny.png", {1, 1});
  on_pipe.ImageFound(u"x\ny.png", {1, 1});
  EXPECT_EQ(Contents(terminal), "x\\x0Ay.png\n");
  EXPECT_EQ(Contents(piped), std::string("x\ny.png\0", 8));
  for (std::FILE* file : {terminal, piped, err}) std::fclose(file);
}

}  // namespace
