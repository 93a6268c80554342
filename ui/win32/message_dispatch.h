#pragma once
// Handing one window message of the thread on: the active window's keyboard shortcuts
// first, then the usual translation and dispatch.
#include <windows.h>

void DispatchMessageOf(MSG& message);
