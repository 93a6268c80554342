#pragma once
// A line list watches the mouse for clicks and drags on its lines.
#include <windows.h>

#include "ui/control_register.h"

// Looks at a message on its way to the list box; true when it is swallowed.
bool LineListDragWatch(HWND list, UINT message, WPARAM wparam, LPARAM lparam);
// Forgets a press still held, as the list goes.
void LineListDragForget(HWND list);
