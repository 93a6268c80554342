#pragma once
// Controls that draw their own items: the window that holds them hands each
// WM_DRAWITEM on to the control itself as this message (same parameters), so a
// control type draws in its own code.
#include <windows.h>

inline constexpr UINT kDrawItemReflected = WM_APP + WM_DRAWITEM;
