#include "ui/window_busy.h"

#include "ui/events.h"

void WindowBusy::StopOn(int32_t code, int64_t object) { stop_events_.emplace_back(code, object); }

bool WindowBusy::Refresh() {
  if (!DispatchPending()) return false;
  for (const auto& [code, object] : stop_events_)
    if (EventQueued(code, object, kAnyValue, kAnyValue)) return false;
  return true;
}
