#pragma once
// Typing in a line list: a character moves to the next line that starts with it
// (without regard to case), as in a list box of strings.
#include <windows.h>

#include "ui/win32/line_list_lines.h"

// Returns false for a character that moves nothing (a control character).
bool LineListTypeAhead(HWND list, const LineListLines& lines, char16_t typed);
