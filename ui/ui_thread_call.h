#pragma once
// Work done on another thread hands its result back to the user-interface thread here:
// the one thread that may touch windows, controls and the event queue.
#include <functional>

// Runs `call` on the user-interface thread; safe from any thread. It runs inside a later
// EventWait (before that wait takes an event, or after it dispatched), in the order the
// calls were handed over; whatever it posts comes with the following waits. Calls handed
// over before UiEventsInit or after UiEventsEnd, and those still waiting at UiEventsEnd,
// are dropped without running (a worker that outlives the window has nobody to tell).
void UiThreadCall(std::function<void()> call);

// For the event wait: starts taking calls, runs the waiting ones, and stops taking them
// (dropping those that wait).
void UiThreadCallsOpen();
void UiThreadCallsRun();
void UiThreadCallsClose();
