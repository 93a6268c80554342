// The Win32 window layer's tests run on the real window system (under Wine, on a
// virtual display with a window manager), with the layer started as the program starts
// it.
#include <gtest/gtest.h>

#include "tests/ui/layer_run.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  return RunTestsInTheLayer();
}
