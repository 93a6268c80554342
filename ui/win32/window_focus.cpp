#include "ui/win32/window_focus.h"

#include <vector>

#include "ui/tab_order.h"

namespace {

bool Inside(HWND outer, HWND inner) { return IsChild(outer, inner) != FALSE; }

BOOL CALLBACK Collect(HWND child, LPARAM data) {
  auto& candidates = *reinterpret_cast<std::vector<HWND>*>(data);
  const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
  if ((style & WS_TABSTOP) && IsWindowVisible(child) && IsWindowEnabled(child))
    TabCandidateAdd(candidates, child, Inside);
  return TRUE;
}

}  // namespace

void WindowFocusMove(HWND window, bool forward) {
  std::vector<HWND> candidates;
  EnumChildWindows(window, Collect, reinterpret_cast<LPARAM>(&candidates));
  if (const HWND target = TabTarget(candidates, GetFocus(), forward, Inside)) SetFocus(target);
}
