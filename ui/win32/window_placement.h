#pragma once
// Where a top-level window stands on the screen.
#include <windows.h>

// The top-left corner that centres `outer` in `area` per axis, the size first capped
// at the area's.
POINT WindowCentred(const RECT& area, SIZE outer);
// A window whose frame lies wholly inside a monitor's work area stays where it is. Any
// other moves onto the work area of the monitor that holds the pointer, and shrinks only
// when it is larger than that area.
void WindowKeepOnScreen(HWND window);
// The smallest outer size a sizable window can be given: that of the client size it was
// asked for, or its monitor's work area when that is smaller.
POINT WindowSmallestSize(HWND window, SIZE design_client);
