#include "ui/line_list_notify.h"

#include "ui/events.h"

int64_t LineListNotify(ControlRecord&, NativeHandle control, const ControlNotice& notice) {
  if (notice.kind != NoticeKind::kCommand) return kNotHandled;
  if (notice.code == kLineDoubleClick) ControlEventPost(control, DetailLeftDoubleClick);
  if (notice.code == kLineSelectionChange) ControlEventPost(control, DetailLeftClick);
  return 0;
}
