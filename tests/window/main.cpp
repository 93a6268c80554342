// The window program's tests run its real start-up, window and loop inside one
// QApplication on Qt's offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>
#include <filesystem>

#include "support/offscreen_screen.h"
#include "support/temp_folder.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  // The tests drive real widgets without a display.
  UseOffscreenScreen();
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
  // What the window remembers between runs goes to a folder of the tests' own.
  TempFolder config;
  setenv("XDG_CONFIG_HOME", config.Path("").c_str(), 1);
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
