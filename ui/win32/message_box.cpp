#include "ui/message_box.h"

#include <windows.h>

#include <vector>

#include "ui/win32/window_access.h"

namespace {

// The program's other windows while a box is up: those the box disabled and those it
// took off the top, given back as they were when it closes.
struct SetAside {
  HWND foreground = nullptr;
  std::vector<HWND> disabled;
  std::vector<HWND> topmost;
};

BOOL CALLBACK SetWindowAside(HWND window, LPARAM data) {
  auto& aside = *reinterpret_cast<SetAside*>(data);
  if (!IsWindowVisible(window)) return TRUE;
  if (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) {
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    aside.topmost.push_back(window);
  }
  if (window != aside.foreground && IsWindowEnabled(window)) {
    EnableWindow(window, FALSE);
    aside.disabled.push_back(window);
  }
  return TRUE;
}

HWND ForegroundOfThisProcess() {
  HWND foreground = GetForegroundWindow();
  DWORD process = 0;
  if (foreground) GetWindowThreadProcessId(foreground, &process);
  return process == GetCurrentProcessId() ? foreground : nullptr;
}

}  // namespace

int MessageBoxShow(const std::u16string& caption, const std::u16string& text, uint32_t flags,
                   std::optional<int64_t> owner) {
  const HWND owner_window = owner ? WindowHandle(*owner) : ForegroundOfThisProcess();
  const std::u16string shown = text.size() > kMessageBoxMaxText ? text.substr(0, kMessageBoxMaxText - 1) : text;
  // Application-modal: every other window of the program waits for the box.
  SetAside aside{owner_window, {}, {}};
  EnumThreadWindows(GetCurrentThreadId(), SetWindowAside, reinterpret_cast<LPARAM>(&aside));
  const int result = MessageBoxW(owner_window, reinterpret_cast<const wchar_t*>(shown.c_str()),
                                 reinterpret_cast<const wchar_t*>(caption.c_str()), flags);
  for (HWND window : aside.disabled) EnableWindow(window, TRUE);
  for (HWND window : aside.topmost)
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return result;
}
