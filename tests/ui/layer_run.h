#pragma once
// The window layer's tests run with the layer started as the program starts it.
#include <gtest/gtest.h>

#include "ui/controls.h"
#include "ui/dpi.h"
#include "ui/events.h"
#include "ui/top_level_windows.h"

inline int RunTestsInTheLayer() {
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
