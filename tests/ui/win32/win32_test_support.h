#pragma once
// Helpers shared by the Win32 window layer's tests.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "fs/object_table.h"
#include "tests/ui/event_drain.h"
#include "tests/ui/test_window_flags.h"
#include "ui/top_level_windows.h"
#include "ui/win32/window_access.h"

// Waits until the window is the active one and stays so for a few rounds: the window
// manager activates a new window, and another after one closed, on its own time.
inline bool SettleActive(HWND window) {
  int steady = 0;
  for (int rounds = 0; rounds < 200 && steady < 5; ++rounds) {
    if (GetActiveWindow() == window) {
      ++steady;
    } else {
      steady = 0;
      SetForegroundWindow(window);
    }
    DrainEvents();
  }
  return steady >= 5;
}

// A numbered window for one test, closed at its end: a plain sizable window with a
// title bar and close box, 400 x 300 at 50, 50, active.
class TestWindow {
 public:
  explicit TestWindow(int64_t number, uint32_t flags = kTestWindowFlags) : number_(number) {
    WindowCreate(number, 50, 50, 400, 300, u"test", flags);
    SettleActive(Handle());
  }
  ~TestWindow() { WindowClose(number_); }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  HWND Handle() const { return WindowHandle(number_); }

 private:
  int64_t number_;
};

// The handle of a control made for a number.
inline HWND ControlHandle(int64_t made) { return reinterpret_cast<HWND>(static_cast<intptr_t>(made)); }

// A left click at the middle of the control, put into the thread's queue as the
// window system would post it, so that EventWait dispatches it.
inline void PostClick(HWND control) {
  RECT r{};
  GetClientRect(control, &r);
  const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(control, WM_LBUTTONUP, 0, at);
}

// Holds or lets go of a key in the thread's keyboard state, as the window system's
// input would (GetKeyState then sees it).
inline void SetKeyHeld(BYTE key, bool held) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[key] = held ? 0x80 : 0;
  SetKeyboardState(keys);
}

// A key pressed and released at the control with the keyboard focus.
inline void PostKey(WPARAM key) {
  HWND focus = GetFocus();
  PostMessageW(focus, WM_KEYDOWN, key, 1);
  PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
}
