// imagescan: the window program. Its one argument is the folder to open at.
#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <string>
#include <vector>

#include "app/window/window_entry.h"
#include "fs/console.h"
#include "fs/exit_signals.h"
#include "fs/text_encoding.h"

int main(int argc, char** argv) {
  QApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
  // Only the program's name reaches Qt: the window program takes no options, and a
  // folder named like one of Qt's own is still a folder.
  const std::vector<std::string> arguments = ConsoleStart(argc, argv);
  int qt_argc = 1;
  QApplication application(qt_argc, argv);
  // The icon the package installs, on every window; the desktop entry names it for the
  // window systems that take it from there.
  QApplication::setWindowIcon(QIcon::fromTheme("imagescan"));
  QGuiApplication::setDesktopFileName("imagescan");
  // Ended by a signal mid-scan, the program leaves the old scene and no temporary file.
  ExitSignalsInstall();
  return MainWindowLife(arguments, [](const std::u16string& text) {
    std::fprintf(stderr, "imagescan: %s\n", Utf8FromText(text).c_str());
  });
}
