#pragma once
// Turning the layer's 1/96 inch into the screen's pixels.
#include <cstdint>

// x × dpiX / 96 and y × dpiY / 96, rounded to the nearest pixel; values far beyond any
// screen are clamped first, so the result always fits the window system's int.
int DpiScaleX(int64_t x);
int DpiScaleY(int64_t y);
