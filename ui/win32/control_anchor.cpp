#include "ui/control_anchor.h"

#include <windows.h>

#include <algorithm>
#include <cmath>

#include "ui/control_register.h"
#include "ui/win32/control_follow.h"
#include "ui/win32/window_record.h"

namespace {

SIZE Growth(HWND window, SIZE design) {
  RECT client{};
  GetClientRect(window, &client);
  return {client.right - design.cx, client.bottom - design.cy};
}

RECT Placed(const ControlRecord& record, SIZE growth) {
  const auto moved = [](int edge, double share, LONG by) { return edge + static_cast<int>(std::lround(share * by)); };
  const int left = moved(record.design[0], record.anchor.left, growth.cx);
  const int top = moved(record.design[1], record.anchor.top, growth.cy);
  const int right = moved(record.design[2], record.anchor.right, growth.cx);
  const int bottom = moved(record.design[3], record.anchor.bottom, growth.cy);
  return {left, top, std::max(right, left), std::max(bottom, top)};
}

}  // namespace

void ControlAnchorSet(int64_t number, const ControlAnchor& anchor) {
  ControlRecord* record = ControlFind(number);
  if (!record) return;
  const HWND window = GetParent(record->handle);
  if (!record->anchored) {
    RECT at{};
    GetWindowRect(record->handle, &at);
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&at), 2);
    record->design[0] = at.left;
    record->design[1] = at.top;
    record->design[2] = at.right;
    record->design[3] = at.bottom;
    record->anchored = true;
  }
  record->anchor = anchor;
  // Controls outside the layer's windows have no designed size to follow.
  if (const WindowRecord* owner = WindowRecordOfHandle(window)) {
    const RECT r = Placed(*record, Growth(window, owner->design));
    MoveWindow(record->handle, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  }
}

void ControlsFollowWindow(HWND window, SIZE design) {
  const SIZE growth = Growth(window, design);
  // All controls move at once, without a repaint between them.
  HDWP moves = BeginDeferWindowPos(4);
  ControlForEach([&](ControlRecord& record) {
    if (!record.anchored || GetParent(record.handle) != window) return;
    const RECT r = Placed(record, growth);
    if (moves)
      moves = DeferWindowPos(moves, record.handle, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                             SWP_NOZORDER | SWP_NOACTIVATE);
  });
  if (moves) EndDeferWindowPos(moves);
}
