#pragma once
// The window system's side of numbered windows, for the layer's own code and its tests.
#include <cstdint>

#include "ui/qt/native_handle.h"

// The window's widget; null for a number without a window.
NativeHandle WindowHandle(int64_t number);
// The number of the nearest window of the layer at or above the widget; -1 for none.
int64_t WindowNumberOf(NativeHandle handle);
