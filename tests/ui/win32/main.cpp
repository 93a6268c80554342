// The Win32 window layer's tests run on the real window system (under Wine, on a
// virtual X display), with the layer started as the program starts it.
#include <gtest/gtest.h>

#include "ui/controls.h"
#include "ui/dpi.h"
#include "ui/events.h"
#include "ui/windows.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  UiEventsInit();
  UiDpiInit();
  UiWindowsInit();
  UiControlsInit();
  UiCommonInit();
  const int result = RUN_ALL_TESTS();
  UiControlsEnd();
  UiWindowsEnd();
  UiEventsEnd();
  return result;
}
