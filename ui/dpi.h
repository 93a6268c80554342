#pragma once
// The screen's dots per inch. Positions and sizes given to the window layer are in
// 1/96 inch; Qt's device-independent pixels are that unit, so Qt scales them to
// device pixels by exactly dpi / 96 (its rounding policy is PassThrough).

// Reads the primary screen's dots per inch; runs before the first window is created.
void UiDpiInit();
int UiDpiX();
int UiDpiY();
