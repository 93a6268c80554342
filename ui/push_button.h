#pragma once
// Push buttons: a click posts ControlEvent with DetailLeftClick; a right click or the
// menu key, DetailRightClick.
#include <cstdint>
#include <string>

// A button at x, y of the current window's client area (1/96 inch) with the caption.
// The flags are button style bits; 0 gives the plain push button, the only kind this
// layer builds. Returns a non-zero handle for a number, the id for kAutoNumber, 0
// without a window to put it in.
int64_t PushButtonCreate(int64_t number, int64_t x, int64_t y, int64_t width, int64_t height,
                         const std::u16string& caption, uint32_t flags);
