#include "ui/dpi.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace {

constexpr double kBaseDpi = 96.0;
int g_dpi_x = 96;
int g_dpi_y = 96;

}  // namespace

void UiDpiInit() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  // Device pixels per 1/96 inch: the screen's scale, which Qt applies to every
  // position and size (Qt's device-independent pixels are 1/96 inch, and its rounding
  // policy is PassThrough, so the scale is exactly dpi / 96).
  const double ratio = screen->devicePixelRatio();
  g_dpi_x = static_cast<int>(std::lround(kBaseDpi * ratio));
  g_dpi_y = g_dpi_x;
}

int UiDpiX() { return g_dpi_x; }
int UiDpiY() { return g_dpi_y; }
