#pragma once
// The screen's dots per inch. Positions and sizes given to the window layer are in
// 1/96 inch; the window system scales them to device pixels by dpi / 96.

// Reads the primary screen's dots per inch; runs before the first window is created.
void UiDpiInit();
int UiDpiX();
int UiDpiY();
