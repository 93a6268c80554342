#include "ui/window_busy.h"

#include <windows.h>

#include <vector>

#include "ui/control_register.h"
#include "ui/events.h"
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

}  // namespace

// Takes the thread's messages while the command runs: input is held (or, for the ways
// out, acted on), everything else (painting, the frame, the close box) is handled.
struct WindowBusy::Hold {
  // What becomes of one message; true when it goes no further.
  bool Take(MSG& message) {
    if (IsKey(message.message)) {
      if (message.wParam == VK_ESCAPE) {
        if (message.message == WM_KEYDOWN) escape = true;
        return true;
      }
      // Alt+F4 is the close box's key; a shortcut only queues the program's events.
      if (message.wParam == VK_F4 && (message.message == WM_SYSKEYDOWN || message.message == WM_SYSKEYUP)) return false;
      if (message.wParam != VK_TAB && WindowTranslateAccelerator(message)) return true;
      // Space and Enter press the focused button: dropped for the dropped control.
      if (dropped && GetFocus() == dropped && (message.wParam == VK_SPACE || message.wParam == VK_RETURN)) return true;
      Keep(message);
      return true;
    }
    if (IsMouse(message.message)) {
      // The exit control takes its clicks as always (once pressed, the rest of the
      // press comes to it through its capture).
      if (exit && (message.hwnd == exit || IsChild(exit, message.hwnd))) return false;
      if (dropped && message.message != WM_MOUSEMOVE && (message.hwnd == dropped || IsChild(dropped, message.hwnd)))
        return true;
      Keep(message);
      return true;
    }
    return false;
  }

  void Keep(const MSG& message) {
    // Only the last of a run of moves matters.
    if (message.message == WM_MOUSEMOVE && !held.empty() && held.back().message == WM_MOUSEMOVE &&
        held.back().hwnd == message.hwnd) {
      held.back() = message;
      return;
    }
    held.push_back(message);
  }

  void Start() {
    holding = true;
    ++g_holds;
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  }

  void Stop() {
    if (!holding) return;
    holding = false;
    --g_holds;
    // The pointer's own window sets its cursor again once it hears of the pointer.
    POINT at{};
    if (GetCursorPos(&at)) SetCursorPos(at.x, at.y);
  }

  void GiveBack() {
    for (const MSG& message : held) PostMessageW(message.hwnd, message.message, message.wParam, message.lParam);
    held.clear();
  }

  HWND exit = nullptr;
  HWND dropped = nullptr;
  std::vector<MSG> held;
  bool holding = false;
  bool escape = false;
};

bool WindowBusyCursorShown() {
  if (g_holds == 0) return false;
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  return true;
}

WindowBusy::WindowBusy(int64_t window, int64_t exit_control)
    : hold_(std::make_unique<Hold>()), stop_events_{{ControlEvent, exit_control}, {CloseEvent, window}} {
  if (const ControlRecord* record = ControlFind(exit_control)) hold_->exit = record->handle;
  hold_->Start();
}

WindowBusy::~WindowBusy() {
  Release();
  hold_->GiveBack();
}

bool WindowBusy::DispatchPending() {
  MSG message;
  for (int n = 0; hold_->holding && n < kMessagesPerRefresh && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++n) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));  // for the program's own loop
      break;
    }
    if (!hold_->Take(message)) DispatchMessageOf(message);
  }
  return !hold_->escape;
}

void WindowBusy::Release() { hold_->Stop(); }

void WindowBusy::DropPressesOf(int64_t control) {
  if (const ControlRecord* record = ControlFind(control)) hold_->dropped = record->handle;
}
