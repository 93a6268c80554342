#pragma once
// The push button's table of operations, the same on every window system: a type id
// alone. Its click arrives as a plain command (code kPushButtonClicked), which without
// a Notify routine becomes ControlEvent with that code, DetailLeftClick, as detail.
#include "ui/control_register.h"

inline constexpr int32_t kPushButtonClicked = 0;
inline constexpr ControlOps kPushButtonOps{.type_id = kPushButtonType};
