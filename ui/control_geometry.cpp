#include "ui/control_geometry.h"

#include <QWidget>
#include <algorithm>

namespace {

// Far beyond any screen, and safe from overflow in Qt's integer geometry.
constexpr int64_t kLimit = int64_t{1} << 24;

int Clamped(int64_t value) { return static_cast<int>(std::clamp(value, -kLimit, kLimit)); }

}  // namespace

void PlaceControl(QWidget& control, int64_t x, int64_t y, int64_t width, int64_t height) {
  control.setGeometry(Clamped(x), Clamped(y), Clamped(std::max<int64_t>(width, 0)),
                      Clamped(std::max<int64_t>(height, 0)));
  control.show();
}
