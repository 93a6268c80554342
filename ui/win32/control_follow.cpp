#include "ui/win32/control_follow.h"

#include <windows.h>

#include "ui/anchored_place.h"
#include "ui/control_register.h"
#include "ui/native_hooks.h"
#include "ui/win32/window_record.h"

namespace {

SIZE Growth(HWND window, SIZE design) {
  RECT client{};
  GetClientRect(window, &client);
  return {client.right - design.cx, client.bottom - design.cy};
}

// Moves the control to its place for the window's growth beyond its designed size.
HDWP Place(const ControlRecord& record, SIZE growth, HDWP moves) {
  const ControlPlace at = AnchoredPlace(record, growth.cx, growth.cy);
  return DeferWindowPos(moves, record.handle, nullptr, at.x, at.y, at.width, at.height,
                        SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

}  // namespace

ControlPlace NativePlaceOf(NativeHandle control) {
  RECT at{};
  GetWindowRect(control, &at);
  MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&at), 2);
  return {at.left, at.top, at.right - at.left, at.bottom - at.top};
}

void NativeAnchorPlace(ControlRecord& record) {
  const HWND window = GetParent(record.handle);
  if (const WindowRecord* owner = WindowRecordOfHandle(window)) {
    if (HDWP moves = BeginDeferWindowPos(1)) EndDeferWindowPos(Place(record, Growth(window, owner->design), moves));
  }
}

void ControlsFollowWindow(HWND window, SIZE design) {
  const SIZE growth = Growth(window, design);
  // All controls move at once, without a repaint between them.
  HDWP moves = BeginDeferWindowPos(4);
  ControlForEach([&](ControlRecord& record) {
    if (moves && record.anchored && GetParent(record.handle) == window) moves = Place(record, growth, moves);
  });
  if (!moves || !EndDeferWindowPos(moves)) return;
  // The controls' old pixels would stay where nothing repaints them (the owner-drawn
  // lists draw only their rows): the whole window is drawn anew.
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}
