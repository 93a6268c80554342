#include "ui/win32/window_focus.h"

#include <vector>

namespace {

struct Search {
  std::vector<HWND> candidates;
};

BOOL CALLBACK Collect(HWND child, LPARAM data) {
  auto& search = *reinterpret_cast<Search*>(data);
  const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
  if (!(style & WS_TABSTOP) || !IsWindowVisible(child) || !IsWindowEnabled(child)) return TRUE;
  for (HWND candidate : search.candidates)
    if (IsChild(candidate, child)) return TRUE;
  search.candidates.push_back(child);
  return TRUE;
}

}  // namespace

void WindowFocusMove(HWND window, bool forward) {
  Search search;
  EnumChildWindows(window, Collect, reinterpret_cast<LPARAM>(&search));
  const std::vector<HWND>& candidates = search.candidates;
  if (candidates.empty()) return;
  const HWND focus = GetFocus();
  const auto count = static_cast<ptrdiff_t>(candidates.size());
  ptrdiff_t at = -1;
  for (ptrdiff_t i = 0; i < count; ++i)
    if (focus && (candidates[i] == focus || IsChild(candidates[i], focus))) at = i;
  ptrdiff_t target;
  if (forward)
    target = at < 0 || at + 1 == count ? 0 : at + 1;
  else
    target = at <= 0 ? count - 1 : at - 1;
  SetFocus(candidates[static_cast<size_t>(target)]);
}
