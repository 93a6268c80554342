#include "list_create.h"

#include <algorithm>

#include "ui/control_register.h"
#include "ui/dpi.h"

namespace {

// Positions and sizes are kept far inside the range the window system computes in.
constexpr int64_t kFarthest = int64_t{1} << 24;

int Scaled(int64_t value, int dpi) { return MulDiv(static_cast<int>(std::clamp(value, -kFarthest, kFarthest)), dpi, 96); }

}  // namespace

HWND ListWindowCreate(const wchar_t* window_class, DWORD ex_style, DWORD style, int64_t x, int64_t y,
                      int64_t width, int64_t height, int id) {
  HWND container = ControlContainer();
  if (!container) return nullptr;
  return CreateWindowExW(ex_style, window_class, L"", style, Scaled(x, UiDpiX()), Scaled(y, UiDpiY()),
                         Scaled(std::max<int64_t>(width, 0), UiDpiX()), Scaled(std::max<int64_t>(height, 0), UiDpiY()),
                         container, reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), GetModuleHandleW(nullptr),
                         nullptr);
}
