#include "ui/window_state.h"

#include "ui/events.h"

WindowStateEvents WindowStateChange(WindowShown now, bool& minimised_or_maximised) {
  switch (now) {
    case WindowShown::kMinimised:
      minimised_or_maximised = true;
      return {false, {MinimisedEvent}};
    case WindowShown::kMaximised:
      minimised_or_maximised = true;
      return {false, {MaximisedEvent, ResizedEvent}};
    case WindowShown::kRestored:
      break;
  }
  if (!minimised_or_maximised) return {};
  minimised_or_maximised = false;
  // One size event stands for the run of them that a restore brings.
  return {true, {RestoredEvent, ResizedEvent}};
}

void WindowStatePost(int64_t window, WindowShown now, bool& minimised_or_maximised) {
  const WindowStateEvents events = WindowStateChange(now, minimised_or_maximised);
  if (events.resizes_dropped) EventRemove(ResizedEvent, kAnyValue, window, kAnyValue);
  for (const int32_t code : events.codes) EventPost(code, 0, window, 0);
}
