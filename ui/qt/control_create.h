#pragma once
// The common end of the control creators.
#include <cstdint>

#include "ui/control_register.h"

class QWidget;

// Puts the new control's widget (a child of ControlContainer()) at x, y of the
// window's client area with the size (1/96 inch), shows it and joins it to the table
// as ControlJoin does.
CreatedControl ControlCreate(int64_t number, QWidget* control, int64_t x, int64_t y, int64_t width, int64_t height,
                             const ControlOps& ops);
