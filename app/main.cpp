// imagescan: the window program. It reads no command line and no configuration.
#include <QApplication>

#include <cstdio>
#include <exception>
#include <new>

#include "app/window/main_window.h"
#include "fs/exit_signals.h"

int main(int, char** argv) {
  QApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
  // Only the program's name reaches Qt: the window program takes no options.
  int qt_argc = 1;
  QApplication application(qt_argc, argv);
  // Ended by a signal mid-scan, the program leaves the old scene and no temporary file.
  ExitSignalsInstall();
  // Whatever fails on the way out of a scan, its temporary file is gone by now and the
  // old scene stays: that is a failure to say, not an abort.
  try {
    MainWindowStart();
    const int code = MainWindowRun();
    MainWindowStop();
    return code;
  } catch (const std::bad_alloc&) {
    std::fputs("imagescan: out of memory; no scene file was changed\n", stderr);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "imagescan: %s; no scene file was changed\n", error.what());
  }
  return 1;
}
