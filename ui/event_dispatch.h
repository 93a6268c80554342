#pragma once
// The window system's side of EventWait: dispatching its own input while no application
// event is queued. Each window system defines these in its own folder.
#include <cstdint>

// Set up with the event queue, before any window exists, and taken down after the
// last window.
void DispatchInit();
void DispatchEnd();
// Dispatches the window system's pending input, waiting for it: -1 without limit, 0 not
// at all, else up to timeout_ms. Returns the message number of what it dispatched
// (kOtherMessage for anything without a number of its own, the wake-up included), or 0
// when nothing came before a finite wait ran out.
int32_t DispatchWait(int64_t timeout_ms);
// Makes a waiting DispatchWait come back.
void DispatchWakeUp();
