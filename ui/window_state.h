#pragma once
// What a top-level window's change of state (minimised, maximised, back to neither)
// posts, the same on every window system.
#include <cstdint>
#include <vector>

enum class WindowShown { kMinimised, kMaximised, kRestored };

struct WindowStateEvents {
  bool resizes_dropped = false;  // the window's queued ResizedEvents go first
  std::vector<int32_t> codes;    // then these are posted, in order
};

// The events for the window now shown so; `minimised_or_maximised` is what it was, and
// becomes what it is. A restore from neither state is no change of state: nothing.
WindowStateEvents WindowStateChange(WindowShown now, bool& minimised_or_maximised);
// Posts them for the window.
void WindowStatePost(int64_t window, WindowShown now, bool& minimised_or_maximised);
