// The window layer's tests run inside one QApplication on Qt's offscreen platform,
// with the layer started as the program starts it.
#include <gtest/gtest.h>

#include <QApplication>

#include "support/offscreen_screen.h"

#include "tests/ui/layer_run.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Listing the tests (as the build's test discovery does) needs no display.
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  // The tests drive real widgets without a display.
  UseOffscreenScreen();
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
  QApplication app(argc, argv);
  return RunTestsInTheLayer();
}
