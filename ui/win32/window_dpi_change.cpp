#include "ui/win32/window_dpi_change.h"

#include "ui/control_register.h"
#include "ui/win32/control_font.h"

void WindowDpiChanged(WindowRecord& record, int dpi, const RECT& suggested) {
  const int old = record.dpi;
  if (dpi > 0 && old > 0 && dpi != old) {
    const auto scale = [&](LONG value) { return static_cast<int>(MulDiv(value, dpi, old)); };
    record.design = {scale(record.design.cx), scale(record.design.cy)};
    const HWND window = record.handle;
    const HFONT font = ControlFont(dpi);
    ControlForEach([&](ControlRecord& control) {
      if (GetParent(control.handle) != window) return;
      for (int& edge : control.design) edge = scale(edge);
      RECT at{};
      GetWindowRect(control.handle, &at);
      MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&at), 2);
      MoveWindow(control.handle, scale(at.left), scale(at.top), scale(at.right - at.left), scale(at.bottom - at.top),
                 FALSE);
      SendMessageW(control.handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    });
    record.dpi = dpi;
  }
  SetWindowPos(record.handle, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  RedrawWindow(record.handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}
