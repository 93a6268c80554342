#pragma once
// Keyboard shortcuts of one control: keys that are a command of the program while that
// control has the focus, and only then (Space in a list, which elsewhere presses the
// focused button).
#include <cstdint>
#include <string>

// Gives the control a shortcut: while it has the keyboard focus, the keys in their
// portable form ("Space", "Escape", "Ctrl+C") post CommandEvent with the command as
// object and the control's window as window, and the control itself does not see them.
// A key held down posts once. False for a number without a control, or keys that name
// no shortcut.
bool ControlShortcutAdd(int64_t number, const std::u16string& keys, int64_t command);
