#pragma once
// The window the layer's tests put their controls in: a title bar with its close
// button and a sizing border, as the program's main window has.
#include <cstdint>

#include "ui/top_level_windows.h"

inline constexpr uint32_t kTestWindowFlags = kWindowCaption | kWindowSystemMenu | kWindowSizingBorder;
