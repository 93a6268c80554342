#pragma once
// The common part of the control creators: the control's window in the current
// container, then its number.
#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/control_register.h"

struct ControlWindow {
  const wchar_t* window_class;
  DWORD style;  // WS_CHILD is added
  DWORD ex_style;
  const std::u16string& text;
};

// Creates the control's window as a child of ControlContainer() at x, y of its client
// area with the size (1/96 inch, scaled to pixels), with window ID -1 until it has its
// number, then joins it to the table as ControlJoin does. When the window cannot be made (no container, the class
// refuses), nothing is taken: a control that held the number stays.
CreatedControl ControlCreate(int64_t number, const ControlWindow& window, int64_t x, int64_t y, int64_t width,
                             int64_t height, const ControlOps& ops);
