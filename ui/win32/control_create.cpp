#include "ui/win32/control_create.h"

#include <algorithm>

#include "ui/win32/dpi_scale.h"

CreatedControl ControlCreate(int64_t number, const ControlWindow& window, int64_t x, int64_t y, int64_t width,
                             int64_t height, const ControlOps& ops) {
  HWND container = ControlContainer();
  if (!container) return {};
  HWND control =
      CreateWindowExW(window.ex_style, window.window_class, reinterpret_cast<const wchar_t*>(window.text.c_str()),
                      window.style | WS_CHILD, DpiScaleX(x), DpiScaleY(y), std::max(DpiScaleX(width), 0),
                      std::max(DpiScaleY(height), 0), container, reinterpret_cast<HMENU>(static_cast<intptr_t>(-1)),
                      GetModuleHandleW(nullptr), nullptr);
  if (!control) return {};
  return ControlJoin(number, control, ops);
}
