#pragma once
// The Win32 side of numbered windows, for the layer's own code and its tests.
#include <cstdint>

#include "ui/win32/native_handle.h"

// The window's handle; null for a number without a window.
NativeHandle WindowHandle(int64_t number);
// The number of the nearest window of the layer at or above the handle (a window or
// any control inside one); -1 for none.
int64_t WindowNumberOf(NativeHandle handle);
