// What a window's change of state posts, the same for both window systems.
#include <gtest/gtest.h>

#include <vector>

#include "ui/events.h"
#include "ui/window_state.h"

namespace {

TEST(WindowState, MinimisedOrMaximisedAndBackPostTheirEventsOnce) {
  bool flag = false;
  // A restore from neither state is a plain size change, not the window system's state.
  EXPECT_EQ(WindowStateChange(WindowShown::kRestored, flag).codes, std::vector<int32_t>{});
  EXPECT_FALSE(flag);
  EXPECT_EQ(WindowStateChange(WindowShown::kMinimised, flag).codes, std::vector<int32_t>{MinimisedEvent});
  EXPECT_TRUE(flag);
  const WindowStateEvents restored = WindowStateChange(WindowShown::kRestored, flag);
  EXPECT_TRUE(restored.resizes_dropped);
  EXPECT_EQ(restored.codes, (std::vector<int32_t>{RestoredEvent, ResizedEvent}));
  EXPECT_FALSE(flag);
  const WindowStateEvents maximised = WindowStateChange(WindowShown::kMaximised, flag);
  EXPECT_FALSE(maximised.resizes_dropped);
  EXPECT_EQ(maximised.codes, (std::vector<int32_t>{MaximisedEvent, ResizedEvent}));
  EXPECT_TRUE(flag);
  // Maximised from minimised, say: still one of the two, and no restore between.
  EXPECT_EQ(WindowStateChange(WindowShown::kMinimised, flag).codes, std::vector<int32_t>{MinimisedEvent});
  EXPECT_TRUE(flag);
}

}  // namespace
