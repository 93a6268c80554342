#pragma once
// Anchored controls following their window's size.
#include <windows.h>

// Places the window's anchored controls for its present client size; `design` is the
// client size the window was asked for, in pixels.
void ControlsFollowWindow(HWND window, SIZE design);
