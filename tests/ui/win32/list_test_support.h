#pragma once
// Helpers of the list tests: the user's mouse as the lists receive it, and the events
// the lists post.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tests/ui/win32/win32_test_support.h"
#include "ui/control_register.h"

// Drains as DrainControlEvents does; returns the details of the control's events.
inline std::vector<int64_t> ListEvents(int64_t control) {
  std::vector<int64_t> details;
  for (const SeenControlEvent& seen : DrainControlEvents()) {
    if (seen.object != control) continue;
    EXPECT_EQ(seen.window, 0);  // the lists stand in window 0
    details.push_back(seen.detail);
  }
  return details;
}

inline HWND ListWindow(int64_t control) { return ControlFind(control)->handle; }

// Queues a press and a release of the button at the point of the window's client
// area, as the mouse would; `press` may be a double-click's second press.
inline void PostClickAt(HWND window, POINT at, UINT press = WM_LBUTTONDOWN) {
  const bool right = press == WM_RBUTTONDOWN || press == WM_RBUTTONDBLCLK;
  PostMessageW(window, press, right ? MK_RBUTTON : MK_LBUTTON, MAKELPARAM(at.x, at.y));
  PostMessageW(window, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

// Queues a press at `from`, a move with the button held to `to`, and the release there.
inline void PostDrag(HWND window, POINT from, POINT to) {
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
  PostMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
  PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
}
