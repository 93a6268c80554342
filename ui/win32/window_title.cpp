#include "ui/window_title.h"

#include <windows.h>

#include "ui/win32/window_access.h"

std::u16string WindowTitle(int64_t number) {
  const HWND window = WindowHandle(number);
  if (!window) return {};
  std::u16string title(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, u'\0');
  title.resize(static_cast<size_t>(
      GetWindowTextW(window, reinterpret_cast<wchar_t*>(title.data()), static_cast<int>(title.size()))));
  return title;
}

void WindowSetTitle(int64_t number, const std::u16string& title) {
  if (const HWND window = WindowHandle(number)) SetWindowTextW(window, reinterpret_cast<const wchar_t*>(title.c_str()));
}
