#include "ui/win32/line_list_drag.h"

#include <cstdint>
#include <cstdlib>

#include "ui/events.h"

namespace {

// The point of a left press on a line, kept while the button is held; the bit above
// the point keeps the value from being 0 (no press) for a press at 0, 0.
constexpr wchar_t kMouseDown[] = L"WK_MouseDown";
constexpr uintptr_t kHeld = uintptr_t{1} << 32;

POINT PointOf(LPARAM lparam) { return {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))}; }

bool Extended(HWND list) { return (GetWindowLongPtrW(list, GWL_STYLE) & LBS_EXTENDEDSEL) != 0; }

bool OnLine(HWND list, POINT at, bool selected_only) {
  const LRESULT found = SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(at.x, at.y));
  // The high word is 1 when the point lies outside every line.
  if (HIWORD(found) != 0) return false;
  if (!selected_only) return true;
  // The low word holds only the line's low 16 bits; the line is one of those shown,
  // which start at the top line.
  const LRESULT top = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
  const WPARAM line = static_cast<WPARAM>(top) + static_cast<uint16_t>(LOWORD(found) - top);
  return SendMessageW(list, LB_GETSEL, line, 0) > 0;
}

// The end of a press: the property goes, and the capture with it.
void PressEnd(HWND list) {
  RemovePropW(list, kMouseDown);
  if (GetCapture() == list) ReleaseCapture();
}

uintptr_t Held(HWND list) { return reinterpret_cast<uintptr_t>(GetPropW(list, kMouseDown)); }

}  // namespace

bool LineListDragWatch(HWND list, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_LBUTTONDOWN: {
      if (wparam & (MK_SHIFT | MK_CONTROL)) return false;
      const POINT at = PointOf(lparam);
      const bool extended = Extended(list);
      if (!OnLine(list, at, extended)) return false;
      SetPropW(list, kMouseDown,
               reinterpret_cast<HANDLE>(kHeld | static_cast<uintptr_t>(static_cast<uint32_t>(lparam))));
      SetCapture(list);
      // An extended-selection list keeps its selection for the drag.
      return extended;
    }
    case WM_MOUSEMOVE: {
      const uintptr_t held = Held(list);
      if (!held) return false;
      const POINT from = PointOf(static_cast<LPARAM>(held & 0xFFFFFFFF)), to = PointOf(lparam);
      const bool beyond = std::abs(to.x - from.x) > GetSystemMetrics(SM_CXDRAG) ||
                          std::abs(to.y - from.y) > GetSystemMetrics(SM_CYDRAG);
      if (beyond) {
        PressEnd(list);
        ControlEventPost(list, DetailDragStart);
      }
      return false;
    }
    case WM_LBUTTONUP:
      if (Held(list)) {
        PressEnd(list);
        ControlEventPost(list, DetailLeftClick);
      }
      return false;
    case WM_RBUTTONUP:
      ControlEventPost(list, DetailRightClick);
      return false;
    default:
      return false;
  }
}

void LineListDragForget(HWND list) { RemovePropW(list, kMouseDown); }
