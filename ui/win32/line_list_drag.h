#pragma once
// A line list watches the mouse for clicks and drags on its lines.
#include <windows.h>

#include "ui/control_register.h"

// Looks at a message on its way to the list box; true when it is swallowed.
bool LineListDragWatch(HWND list, UINT message, WPARAM wparam, LPARAM lparam);
// The list's Release routine: forgets a press still held.
void LineListDragForget(ControlRecord& record);
