#pragma once
// The line list's procedure in front of its list box: it tells the list box how many
// lines there are, draws them, answers for their texts and watches the mouse.
#include <windows.h>

#include "ui/win32/line_list_lines.h"

// Puts the procedure in front of the list's list box and measures the lines in its font.
void LineListWindowWatch(HWND list, LineListLines& lines);

// Lines were appended: the list box is told the count before it next hears of
// anything, and at the latest when the thread's messages are next handled. Appending
// thus costs the list box nothing until the window is drawn.
void LineListCountLater(HWND list, LineListLines& lines);
// The list box is told the count now, if it does not know it.
void LineListCountNow(HWND list, LineListLines& lines);

// Whether the list takes more than one line at a time.
bool LineListSeveralSelectable(HWND list);
