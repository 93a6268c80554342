#pragma once
// The end of a numbered window, as the window system destroys it.
#include <windows.h>

// Drops the window's properties, stops it being the container for new controls, frees
// its number and drops its queued events. Run by the window procedure on WM_NCDESTROY.
void WindowDestroyed(HWND window);
