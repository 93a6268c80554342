#pragma once
// A line too long for the list, or scrolled partly out of sight, shows whole in a
// tooltip while the pointer rests on it.
#include <windows.h>

#include "ui/win32/line_list_lines.h"

// Makes the list's tooltip; null when the system cannot.
HWND LineListTipCreate(HWND list);
// Looks at a message on its way to the list box: the tooltip follows the pointer from
// line to line and is answered with the text of the line under it. True when the
// message is answered (its result in `result`).
bool LineListTipWatch(HWND list, HWND tip, LineListLines& lines, UINT message, LPARAM lparam, LRESULT& result);
