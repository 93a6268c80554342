// imagescan: the window program. It reads no command line and no configuration.
#include <QApplication>

#include "app/window/main_window.h"

int main(int, char** argv) {
  QApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
  // Only the program's name reaches Qt: the window program takes no options.
  int qt_argc = 1;
  QApplication application(qt_argc, argv);
  MainWindowStart();
  const int code = MainWindowRun();
  MainWindowStop();
  return code;
}
