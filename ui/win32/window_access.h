#pragma once
// The Win32 side of numbered windows, for the layer's own code and its tests.
#include <cstdint>

#include "ui/native_hooks.h"

// The window's handle; null for a number without a window.
NativeHandle WindowHandle(int64_t number);
