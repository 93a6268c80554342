#pragma once
// A small menu of choices that pops up over a control.
#include <cstdint>
#include <string>
#include <vector>

// Shows the items as a menu at the pointer when it is over the control, else just below
// the control, with a check mark at item `checked` (none when out of range), and waits
// for the user. The index chosen; -1 when the menu was closed without a choice or the
// number holds no control.
int PopupMenuShow(int64_t control, const std::vector<std::u16string>& items, int checked);
