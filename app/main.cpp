// imagescan: the window program. It reads no command line and no configuration.
#include <QApplication>

#include <cstdio>
#include <string>

#include "app/window/window_entry.h"
#include "fs/exit_signals.h"
#include "fs/text_encoding.h"

int main(int, char** argv) {
  QApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
  // Only the program's name reaches Qt: the window program takes no options.
  int qt_argc = 1;
  QApplication application(qt_argc, argv);
  // Ended by a signal mid-scan, the program leaves the old scene and no temporary file.
  ExitSignalsInstall();
  return MainWindowLife([](const std::u16string& text) {
    std::fprintf(stderr, "imagescan: %s\n", Utf8FromText(text).c_str());
  });
}
