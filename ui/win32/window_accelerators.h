#pragma once
// Keyboard accelerators of numbered windows: Tab and Shift+Tab move the focus through
// the controls; the shortcuts of WindowAcceleratorAdd post CommandEvent.
#include <windows.h>

#include "ui/win32/window_record.h"

// Commands of the two focus keys; a shortcut cannot use them.
inline constexpr WORD kFocusNextCommand = 64001;
inline constexpr WORD kFocusPreviousCommand = 64002;

// Gives a new window its Tab and Shift+Tab.
void WindowAcceleratorsStart(WindowRecord& record);
// Applies the active window's accelerators to a key message (unless the focused
// control takes that key itself); true when the key became a command and must go no
// further.
bool WindowTranslateAccelerator(MSG& message);
