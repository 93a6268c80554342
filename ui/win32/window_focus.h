#pragma once
// Moving the keyboard focus through a window's controls with Tab and Shift+Tab.
#include <windows.h>

// The candidates are the window's descendants that are enabled, visible and tab stops,
// in the window system's child order (the order they were created in); the inner
// parts of a candidate are not candidates of their own. Forward gives the focus to the
// candidate after the focused one, wrapping from the last to the first (the first when
// the focus is on none); backward goes the other way.
void WindowFocusMove(HWND window, bool forward);
