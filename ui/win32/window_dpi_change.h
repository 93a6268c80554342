#pragma once
// A window moved to a monitor of another DPI.
#include <windows.h>

#include "ui/win32/window_record.h"

// Scales the window's layout (its designed client size, its controls' places and
// anchors, their font) from the DPI it was laid out for to `dpi`, and gives the frame
// the rectangle the window system suggests.
void WindowDpiChanged(WindowRecord& record, int dpi, const RECT& suggested);
