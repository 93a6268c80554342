// The window program's tests on Windows: its real start-up, window and loop, on the
// real window system (under Wine, a virtual display with a window manager).
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
