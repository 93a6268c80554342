#pragma once
// The font every control is given.
#include <windows.h>

// The system's message font (as message boxes use it) for the DPI of the controls'
// window, else the stock GUI font. Made once per DPI, kept until the program ends.
HFONT ControlFont(int dpi);
