// The user-interface thread's message wait behind EventWait, and its wake-up: a hidden
// window of its own class that receives a registered message.
#include "ui/event_dispatch.h"

#include <windows.h>

#include <algorithm>

#include "ui/events.h"
#include "ui/win32/message_dispatch.h"
#include "ui/win32/window_accelerators.h"

namespace {

constexpr wchar_t kWakeUpClass[] = L"PostEventClass";
constexpr wchar_t kWakeUpMessageName[] = L"WK_UnlockQueueEventMessage";

HWND g_wake_up_window = nullptr;
UINT g_wake_up_message = 0;

// The number EventWait returns for a dispatched message: that of the input messages
// (keys, mouse), kOtherMessage for anything else. Other message numbers could equal an
// event code (controls use the WM_USER range), so they are never handed out raw.
int32_t MessageNumber(UINT message) {
  if (message == WM_KEYDOWN || message == WM_KEYUP) return static_cast<int32_t>(message);
  if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) return static_cast<int32_t>(message);
  return kOtherMessage;
}

// Takes one message, waiting at most timeout_ms (0: not at all); false when none came.
bool TakeMessage(MSG& message, int64_t timeout_ms) {
  if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD)) return true;
  if (timeout_ms == 0) return false;
  // A wake from the wait may bring only messages sent from elsewhere, handled inside
  // the peek; the wait then goes on for the time that is left.
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeout_ms);
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    const auto left = static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, INFINITE - 1));
    MsgWaitForMultipleObjects(0, nullptr, FALSE, left, QS_ALLINPUT);
    if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD)) return true;
  }
}

}  // namespace

void DispatchInit() {
  WNDCLASSW window_class{};
  window_class.style = CS_DBLCLKS;
  window_class.lpfnWndProc = DefWindowProcW;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kWakeUpClass;
  RegisterClassW(&window_class);
  // Never shown: it only receives the wake-up.
  g_wake_up_window = CreateWindowExW(0, kWakeUpClass, L"", WS_CAPTION, 0, 0, 1, 1, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
  g_wake_up_message = RegisterWindowMessageW(kWakeUpMessageName);
}

void DispatchEnd() {
  if (g_wake_up_window) DestroyWindow(g_wake_up_window);
  g_wake_up_window = nullptr;
  UnregisterClassW(kWakeUpClass, GetModuleHandleW(nullptr));
}

void DispatchWakeUp() {
  if (g_wake_up_window) PostMessageW(g_wake_up_window, g_wake_up_message, 0, 0);
}

int32_t DispatchWait(int64_t timeout_ms) {
  MSG message{};
  if (timeout_ms < 0) {
    // 0 is WM_QUIT, -1 a failure; neither is a reason to hand out 0, which would read
    // as a finite wait that ran out.
    if (GetMessageW(&message, nullptr, 0, 0) <= 0) return kOtherMessage;
  } else if (!TakeMessage(message, timeout_ms)) {
    return 0;
  }
  DispatchMessageOf(message);
  return MessageNumber(message.message);
}

void DispatchMessageOf(MSG& message) {
  if (WindowTranslateAccelerator(message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}
