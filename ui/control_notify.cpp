// Reports of the controls, on their way to the types and to the application.
#include "ui/control_register.h"

int64_t ControlNotify(NativeHandle control, const ControlNotice& notice) {
  if (ControlRecord* record = ControlOf(control); record && record->ops->notify) {
    const int64_t answer = record->ops->notify(*record, control, notice);
    if (answer != kNotHandled) return answer;
  }
  if (notice.kind == NoticeKind::kCommand) ControlEventPost(control, notice.code);
  return 0;
}
