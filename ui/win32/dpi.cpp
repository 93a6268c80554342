#include "ui/dpi.h"

#include <windows.h>

#include <algorithm>

#include "ui/win32/dpi_scale.h"

namespace {

constexpr int kBaseDpi = 96;
// Far beyond any screen, and small enough that scaling by any real DPI stays in an int.
constexpr int64_t kLimit = int64_t{1} << 24;

int g_dpi_x = kBaseDpi;
int g_dpi_y = kBaseDpi;

int Scale(int64_t value, int dpi) {
  return MulDiv(static_cast<int>(std::clamp(value, -kLimit, kLimit)), dpi, kBaseDpi);
}

}  // namespace

void UiDpiInit() {
  // The program is DPI-aware (its manifest says so), so the screen's device context
  // gives the real dots per inch rather than 96.
  HDC screen = GetDC(nullptr);
  if (!screen) return;
  const int x = GetDeviceCaps(screen, LOGPIXELSX);
  const int y = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  if (x > 0) g_dpi_x = x;
  if (y > 0) g_dpi_y = y;
}

int UiDpiX() { return g_dpi_x; }
int UiDpiY() { return g_dpi_y; }

int DpiScaleX(int64_t x) { return Scale(x, g_dpi_x); }
int DpiScaleY(int64_t y) { return Scale(y, g_dpi_y); }
