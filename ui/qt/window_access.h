#pragma once
// The window system's side of numbered windows, for the layer's own code and its tests.
#include <cstdint>

#include "ui/native_hooks.h"

// The window's widget; null for a number without a window.
NativeHandle WindowHandle(int64_t number);
