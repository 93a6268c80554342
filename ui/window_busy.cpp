#include "ui/window_busy.h"

#include "ui/control_register.h"
#include "ui/events.h"
#include "ui/window_busy_hold.h"

WindowBusy::WindowBusy(int64_t window, int64_t exit_control)
    : stop_events_{{ControlEvent, exit_control}, {CloseEvent, window}} {
  const ControlRecord* exit = ControlFind(exit_control);
  hold_ = WindowBusyHoldStart(exit ? exit->handle : nullptr);
}

WindowBusy::~WindowBusy() {
  Release();
  hold_->GiveBack();
}

void WindowBusy::StopOn(int32_t code, int64_t object) { stop_events_.emplace_back(code, object); }

void WindowBusy::DropPressesOf(int64_t control) {
  if (const ControlRecord* record = ControlFind(control)) hold_->DropPressesOf(record->handle);
}

bool WindowBusy::Refresh() {
  if (!hold_->DispatchPending()) return false;
  for (const auto& [code, object] : stop_events_)
    if (EventQueued(code, object, kAnyValue, kAnyValue)) return false;
  return true;
}

void WindowBusy::Release() { hold_->Stop(); }
