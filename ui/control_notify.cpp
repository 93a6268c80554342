// Reports of the controls, on their way to the types and to the application.
#include "ui/control_register.h"
#include "ui/events.h"
#include "ui/native_hooks.h"

int64_t ControlNotify(NativeHandle control, const ControlNotice& notice) {
  if (ControlRecord* record = ControlOf(control); record && record->ops->notify) {
    const int64_t answer = record->ops->notify(*record, control, notice);
    if (answer != kNotHandled) return answer;
  }
  if (notice.kind == NoticeKind::kCommand) ControlEventPost(control, notice.code);
  return 0;
}

void ControlEventPost(NativeHandle control, int64_t detail) {
  if (const ControlRecord* record = ControlOf(control))
    EventPost(ControlEvent, record->number, WindowNumberOf(control), detail);
}
