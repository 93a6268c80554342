#pragma once
// The common start of the list creators: the list's window in the current container.
#include <windows.h>

#include <cstdint>

// Creates a window of the class as a child of the current container window, at x, y
// of its client area with the size (1/96 inch, scaled to the screen's pixels), with
// the window ID. Null without a container or when the window cannot be created.
HWND ListWindowCreate(const wchar_t* window_class, DWORD ex_style, DWORD style, int64_t x, int64_t y,
                      int64_t width, int64_t height, int id);
