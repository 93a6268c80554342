// The window's benchmarks on Qt: the application first, as the window program makes it.
#include <QApplication>

#include "bench/window_bench.h"

int main(int argc, char** argv) {
  QApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
  int qt_argc = 1;
  QApplication application(qt_argc, argv);
  return WindowBench(argc, argv);
}
