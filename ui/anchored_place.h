#pragma once
// Where an anchored control stands for its window's size.
#include "ui/control_register.h"

struct ControlPlace {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The place of an anchored control (its designed edges and anchor in the record) when
// its window's client area is `growth_x` wider and `growth_y` taller than designed
// (negative: smaller). A control squeezed past nothing gets width or height 0.
ControlPlace AnchoredPlace(const ControlRecord& record, int growth_x, int growth_y);
