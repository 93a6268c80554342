#pragma once
// Drawing one line of a line list, as a list box of strings draws it.
#include <windows.h>

#include "ui/win32/line_list_lines.h"

void LineListDraw(const DRAWITEMSTRUCT& item, const LineListLines& lines);
