#pragma once
// Placing a new control in its window.
#include <cstdint>

class QWidget;

// Puts the control at x, y of its window's client area with the size (all in 1/96
// inch, Qt's device-independent pixels) and shows it.
void PlaceControl(QWidget& control, int64_t x, int64_t y, int64_t width, int64_t height);
