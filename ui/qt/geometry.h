#pragma once
// Positions and sizes handed to the layer are 64-bit; Qt's geometry is int.
#include <cstdint>

// The value clamped far beyond any screen, safe from overflow in Qt's geometry.
int QtCoordinate(int64_t value);
// The same for a width or height, below 0 taken as 0.
int QtSize(int64_t value);
