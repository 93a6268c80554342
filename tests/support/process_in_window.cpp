// Runs the window program on Qt's offscreen platform, processes the folder named by
// IMAGESCAN_TEST_FOLDER and quits, printing every message the window showed, one a
// line: "message: CAPTION: TEXT". For tests that need the window in a process of its
// own (to kill it, signal it, or limit it). IMAGESCAN_TEST_FILE_LIMIT: a file size limit in bytes.
#include <sys/resource.h>

#include <QApplication>

#include <cstdio>
#include <cstdlib>

#include "fs/exit_signals.h"
#include "fs/text_encoding.h"
#include "support/offscreen_screen.h"
#include "window/window_driver.h"

int main(int argc, char** argv) {
  const char* folder = std::getenv("IMAGESCAN_TEST_FOLDER");
  if (!folder) {
    std::fputs("process_in_window: IMAGESCAN_TEST_FOLDER names no folder\n", stderr);
    return 2;
  }
  if (const char* limit = std::getenv("IMAGESCAN_TEST_FILE_LIMIT")) {
    const rlimit bytes{std::strtoul(limit, nullptr, 10), std::strtoul(limit, nullptr, 10)};
    setrlimit(RLIMIT_FSIZE, &bytes);
  }
  UseOffscreenScreen();
  QApplication application(argc, argv);
  // As the window program's entry does.
  ExitSignalsInstall();
  WindowDriver driver;
  const int code = ProcessThenQuit(driver, TextFromEscapedBytes(folder) + u"/");
  for (const ShownMessage& message : driver.messages)
    std::printf("message: %s: %s\n", EscapedBytesFromText(message.caption).c_str(),
                EscapedBytesFromText(message.text).c_str());
  return code;
}
