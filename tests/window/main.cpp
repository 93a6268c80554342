// The window program's tests run its real start-up, window and loop inside one
// QApplication on Qt's offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>

#include "support/offscreen_screen.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  // The tests drive real widgets without a display.
  UseOffscreenScreen();
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
