#pragma once
// The window system's handle of a window or control: a Win32 window (HWND).
struct HWND__;
using NativeHandle = HWND__*;
