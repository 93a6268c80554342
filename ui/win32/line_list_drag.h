#pragma once
// A line list watches the mouse for clicks and drags on its lines.
#include <windows.h>

#include "ui/control_register.h"

void LineListDragWatch(HWND list);
// The list's Release routine: forgets a press still held.
void LineListDragForget(ControlRecord& record);
