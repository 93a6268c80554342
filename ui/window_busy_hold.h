#pragma once
// The window system's part of WindowBusy: the busy cursor, and what becomes of each
// piece of input while the hold is on (held, dropped, or let through as a way out).
#include <memory>

#include "ui/native_handle.h"

class WindowBusyHold {
 public:
  virtual ~WindowBusyHold() = default;
  // Handles what is pending, holding the input (nothing once stopped). False once Escape
  // was pressed.
  bool DispatchPending() {
    if (holding_) Dispatch();
    return !escape_;
  }
  // The cursor comes back and new input flows; nothing once stopped.
  void Stop() {
    if (!holding_) return;
    holding_ = false;
    End();
  }
  // Presses of the control are dropped from now on instead of held.
  virtual void DropPressesOf(NativeHandle control) = 0;
  // Hands what was held back to the window system's queue, in the order it came.
  virtual void GiveBack() = 0;

 protected:
  // The window system's halves of DispatchPending and Stop.
  virtual void Dispatch() = 0;
  virtual void End() = 0;

  bool holding_ = true;  // until Stop
  bool escape_ = false;  // Escape was pressed
};

// Shows the busy cursor and starts holding the input, but for the ways out: Escape, and
// the clicks of the exit control (null for none).
std::unique_ptr<WindowBusyHold> WindowBusyHoldStart(NativeHandle exit_control);
