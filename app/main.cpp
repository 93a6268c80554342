// imagescan: the window program. It reads no command line and no configuration.
#include <QApplication>

#include "app/window/main_window.h"

int main(int argc, char** argv) {
  QApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
  QApplication application(argc, argv);
  MainWindowStart();
  const int code = MainWindowRun();
  MainWindowStop();
  return code;
}
