#pragma once
// What a column list's list view reports, in the terms of the shared column list, and
// the list's own messages it watches.
#include <windows.h>

#include "ui/column_list_view.h"

// The list view's notification with the row or column and the selection it concerns.
ControlNotice ColumnListReport(const ControlNotice& notice);
// The name of the window property that keeps the mark.
const wchar_t* ColumnListMarkName(ColumnListMark mark);
// Watches the list's own messages: the press that may start a drag, the release that
// ends a double-click, and the size its first column follows.
void ColumnListWatch(HWND list);
// With a number column beside it, the first column takes what the others leave of the
// list's width.
void ColumnListFillFirst(HWND list);
