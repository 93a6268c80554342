#include "ui/win32/window_placement.h"

#include <algorithm>

namespace {

LONG Width(const RECT& r) { return r.right - r.left; }
LONG Height(const RECT& r) { return r.bottom - r.top; }

RECT WorkArea(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(monitor, &info);
  return info.rcWork;
}

bool Inside(const RECT& outer, const RECT& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

}  // namespace

POINT WindowCentred(const RECT& area, SIZE outer) {
  const LONG w = std::min(outer.cx, Width(area));
  const LONG h = std::min(outer.cy, Height(area));
  return {area.left + (Width(area) - w) / 2, area.top + (Height(area) - h) / 2};
}

void WindowKeepOnScreen(HWND window) {
  RECT frame;
  if (!GetWindowRect(window, &frame)) return;
  // A frame wholly inside a monitor has its largest overlap with that monitor.
  if (HMONITOR holding = MonitorFromRect(&frame, MONITOR_DEFAULTTONULL); holding && Inside(WorkArea(holding), frame))
    return;
  POINT pointer{};
  GetCursorPos(&pointer);
  const RECT area = WorkArea(MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY));
  const LONG w = std::min(Width(frame), Width(area));
  const LONG h = std::min(Height(frame), Height(area));
  const LONG x = std::clamp(frame.left, area.left, area.right - w);
  const LONG y = std::clamp(frame.top, area.top, area.bottom - h);
  SetWindowPos(window, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

POINT WindowSmallestSize(HWND window, SIZE design_client) {
  RECT outer{0, 0, design_client.cx, design_client.cy};
  AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
  const RECT area = WorkArea(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
  return {std::min(Width(outer), Width(area)), std::min(Height(outer), Height(area))};
}
