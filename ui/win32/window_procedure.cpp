#include "ui/win32/window_procedure.h"

#include "ui/control_register.h"
#include "ui/events.h"
#include "ui/win32/control_follow.h"
#include "ui/win32/owner_draw.h"
#include "ui/win32/window_accelerators.h"
#include "ui/win32/window_access.h"
#include "ui/win32/window_busy_cursor.h"
#include "ui/win32/window_destroyed.h"
#include "ui/win32/window_dpi_change.h"
#include "ui/win32/window_focus.h"
#include "ui/win32/window_placement.h"
#include "ui/win32/window_record.h"
#include "ui/window_state.h"

namespace {

void Post(int32_t code, int64_t object, int64_t window) { EventPost(code, object, window, 0); }

LRESULT Command(HWND window, int64_t number, WPARAM wparam, LPARAM lparam) {
  if (lparam != 0) {
    ControlNotify(reinterpret_cast<HWND>(lparam), {NoticeKind::kCommand, HIWORD(wparam)});
    return 0;
  }
  // Without a control: an accelerator (high word 1) or a menu.
  const WORD command = LOWORD(wparam);
  if (HIWORD(wparam) != 0 && (command == kFocusNextCommand || command == kFocusPreviousCommand)) {
    WindowFocusMove(window, command == kFocusNextCommand);
    return 0;
  }
  Post(CommandEvent, command, number);
  return 0;
}

LRESULT Notify(LPARAM lparam) {
  const auto* header = reinterpret_cast<const NMHDR*>(lparam);
  if (!header) return 0;
  ControlNotice notice{NoticeKind::kNotify, static_cast<int32_t>(header->code)};
  notice.native = lparam;
  return ControlNotify(header->hwndFrom, notice);
}

void Activate(HWND window, int64_t number, WPARAM wparam) {
  if (LOWORD(wparam) == WA_INACTIVE) {
    if (HWND focus = GetFocus(); focus && IsChild(window, focus)) SetPropW(window, kFocusProperty, focus);
    Post(DeactivatedEvent, 0, number);
    return;
  }
  // Minimised, the window takes no focus.
  if (HIWORD(wparam) == 0) {
    const auto focus = static_cast<HWND>(GetPropW(window, kFocusProperty));
    if (focus && IsWindow(focus) && IsChild(window, focus))
      SetFocus(focus);
    else
      WindowFocusMove(window, true);
    // Without a control to take it, the window itself has the keys.
    if (!GetFocus()) SetFocus(window);
  }
  Post(ActivatedEvent, 0, number);
}

void Size(WindowRecord& record, WPARAM kind) {
  if (kind != SIZE_MINIMIZED) ControlsFollowWindow(record.handle, record.design);
  if (!record.ready) return;
  if (kind == SIZE_MINIMIZED || kind == SIZE_MAXIMIZED || (kind == SIZE_RESTORED && record.state_flag)) {
    const WindowShown now = kind == SIZE_MINIMIZED   ? WindowShown::kMinimised
                            : kind == SIZE_MAXIMIZED ? WindowShown::kMaximised
                                                     : WindowShown::kRestored;
    WindowStatePost(record.number, now, record.state_flag);
    return;
  }
  // Resized, or another window maximised or restored: one size event stands for a run of them.
  EventRemove(ResizedEvent, kAnyValue, record.number, kAnyValue);
  Post(ResizedEvent, 0, record.number);
}

}  // namespace

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  WindowRecord* record = WindowRecordOfHandle(window);
  const int64_t number = WindowNumberOf(window);
  switch (message) {
    case WM_COMMAND:
      return Command(window, number, wparam, lparam);
    case WM_NOTIFY:
      return Notify(lparam);
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (item && item->CtlType != ODT_MENU && item->hwndItem)
        return SendMessageW(item->hwndItem, kDrawItemReflected, wparam, lparam);
      break;
    }
    case WM_CLOSE:
      // The window stays open until the program closes it; the request becomes an
      // event, and a wait for messages comes back to hand it out.
      Post(CloseEvent, number, number);
      EventWakeUp();
      return 0;
    case WM_ACTIVATE:
      Activate(window, number, wparam);
      return 0;
    case WM_SIZE:
      if (record) Size(*record, wparam);
      return 0;
    case WM_MOVE:
      if (record && record->ready) Post(MovedEvent, number, number);
      return 0;
    case WM_LBUTTONUP:
      Post(LeftButtonUpEvent, 0, number);
      return 0;
    case WM_RBUTTONUP:
      Post(RightButtonUpEvent, 0, number);
      return 0;
    case WM_LBUTTONDBLCLK:
      Post(LeftDoubleClickEvent, 0, number);
      return 0;
    case WM_ERASEBKGND:
      Post(RepaintEvent, 0, number);
      break;  // the class background is still drawn
    case WM_GETMINMAXINFO:
      // A sizable window cannot be made smaller than asked for (or than its screen).
      if (record && (GetWindowLongPtrW(window, GWL_STYLE) & WS_THICKFRAME))
        reinterpret_cast<MINMAXINFO*>(lparam)->ptMinTrackSize = WindowSmallestSize(window, record->design);
      return 0;
    case WM_DPICHANGED:
      if (record) WindowDpiChanged(*record, HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_SETCURSOR:
      if (WindowBusyCursorShown()) return TRUE;
      break;
    case WM_NCDESTROY:
      WindowDestroyed(window);
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}
