#pragma once
// What a line list reports, alike on every window system: its commands become its
// events.
#include <cstdint>

#include "ui/control_register.h"

// Command codes of the line list (the list box's notification codes).
inline constexpr int32_t kLineSelectionChange = 1;
inline constexpr int32_t kLineDoubleClick = 2;

// The line list's Notify routine. A double-click posts DetailLeftDoubleClick, a change
// of the selection DetailLeftClick; every other command is answered without an event.
int64_t LineListNotify(ControlRecord& record, NativeHandle control, const ControlNotice& notice);
