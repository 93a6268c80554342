#include "ui/window_busy_hold.h"

#include <windows.h>

#include <memory>

#include "ui/held_input.h"
#include "ui/win32/message_dispatch.h"
#include "ui/win32/window_accelerators.h"
#include "ui/win32/window_busy_cursor.h"

namespace {

// Messages one Refresh hands on at most, so that a flood cannot stall the command.
constexpr int kMessagesPerRefresh = 1000;

bool IsKey(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }
bool IsMouse(UINT message) { return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST; }

// Holds in force (one, unless a command runs inside another's hold).
int g_holds = 0;

// Takes the thread's messages while the command runs: input is held (or, for the ways
// out, acted on), everything else (painting, the frame, the close box) is handled.
class Win32BusyHold final : public WindowBusyHold {
 public:
  explicit Win32BusyHold(HWND exit_control) : exit_(exit_control) {
    ++g_holds;
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  }

  void DropPressesOf(NativeHandle control) override { dropped_ = control; }

  void GiveBack() override {
    held_.GiveBack(
        [](HWND window, const MSG& message) { PostMessageW(window, message.message, message.wParam, message.lParam); });
  }

 private:
  void Dispatch() override {
    MSG message;
    for (int n = 0; holding_ && n < kMessagesPerRefresh && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++n) {
      if (message.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(message.wParam));  // for the program's own loop
        break;
      }
      if (!Take(message)) DispatchMessageOf(message);
    }
  }

  void End() override {
    --g_holds;
    // The pointer's own window sets its cursor again once it hears of the pointer.
    POINT at{};
    if (GetCursorPos(&at)) SetCursorPos(at.x, at.y);
  }

  // What becomes of one message; true when it goes no further.
  bool Take(MSG& message) {
    if (IsKey(message.message)) {
      if (message.wParam == VK_ESCAPE) {
        if (message.message == WM_KEYDOWN) escape_ = true;
        return true;
      }
      // Alt+F4 is the close box's key; a shortcut only queues the program's events.
      if (message.wParam == VK_F4 && (message.message == WM_SYSKEYDOWN || message.message == WM_SYSKEYUP)) return false;
      if (message.wParam != VK_TAB && WindowTranslateAccelerator(message)) return true;
      // Space and Enter press the focused button: dropped for the dropped control.
      if (dropped_ && GetFocus() == dropped_ && (message.wParam == VK_SPACE || message.wParam == VK_RETURN))
        return true;
      held_.Keep(message.hwnd, message, false);
      return true;
    }
    if (IsMouse(message.message)) {
      // The exit control takes its clicks as always (once pressed, the rest of the
      // press comes to it through its capture).
      if (exit_ && (message.hwnd == exit_ || IsChild(exit_, message.hwnd))) return false;
      if (dropped_ && message.message != WM_MOUSEMOVE && (message.hwnd == dropped_ || IsChild(dropped_, message.hwnd)))
        return true;
      held_.Keep(message.hwnd, message, message.message == WM_MOUSEMOVE);
      return true;
    }
    return false;
  }

  HWND exit_ = nullptr;
  HWND dropped_ = nullptr;
  HeldInput<HWND, MSG> held_;
};

}  // namespace

bool WindowBusyCursorShown() {
  if (g_holds == 0) return false;
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  return true;
}

std::unique_ptr<WindowBusyHold> WindowBusyHoldStart(NativeHandle exit_control) {
  return std::make_unique<Win32BusyHold>(exit_control);
}
