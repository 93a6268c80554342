#pragma once
// What a column list reports: the list view's notifications and the mouse and keys
// turned into the list's events.
#include <windows.h>

#include "ui/control_register.h"

// The column list's Notify routine.
int64_t ColumnListNotify(ControlRecord& record, NativeHandle control, const ControlNotice& notice);
// Watches the list's own messages: the release that ends a double-click, and the size
// its first column follows.
void ColumnListWatch(HWND list);
// Removes what the events kept with the list.
void ColumnListForget(HWND list);
