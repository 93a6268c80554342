#pragma once
// Keeping the program's windows alive while a long command runs inside the handling of
// one event: they repaint, while the user's input waits for the command to end.
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

class WindowBusyHold;

// While one lives (until Release), the busy cursor shows and input to every window is
// held back, except three ways out that ask the command to stop: Escape, the close box
// of `window`, and a click on `exit_control`. The close box and the click still reach
// the program as its events (CloseEvent, ControlEvent), to be acted on after the command.
// Keyboard shortcuts go through too: they only queue the program's own events.
class WindowBusy {
 public:
  WindowBusy(int64_t window, int64_t exit_control);
  // Gives the held input back to the window system's queue in the order it came, to be handled after
  // the command as if it had just arrived.
  ~WindowBusy();
  WindowBusy(const WindowBusy&) = delete;
  WindowBusy& operator=(const WindowBusy&) = delete;

  // One more way out: a queued event with this code and object (a keyboard shortcut's
  // command, say) asks to stop as well.
  void StopOn(int32_t code, int64_t object);
  // Presses of this control while the hold is on are dropped instead of held: its
  // clicks, and the keys that press it while it has the focus (the button that started
  // the command, which must not start it again).
  void DropPressesOf(int64_t control);
  // Lets the windows repaint and handle everything pending except the held input. False once
  // the user asked to stop.
  bool Refresh();
  // Ends the hold before the command ends (for a message box the user must answer):
  // the cursor comes back and new input flows; what was held still waits for the end.
  void Release();

 private:
  std::unique_ptr<WindowBusyHold> hold_;
  // The queued events that ask to stop, as code and object.
  std::vector<std::pair<int32_t, int64_t>> stop_events_;
};
