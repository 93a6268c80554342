#pragma once
// The font every control is given.
#include <windows.h>

// The system's message font (as message boxes use it), else the stock GUI font.
HFONT ControlFont();
