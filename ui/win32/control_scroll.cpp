#include "ui/control_scroll.h"

#include <windows.h>

#include <commctrl.h>

#include "ui/control_register.h"

void ControlScrollToEnd(int64_t number) {
  const ControlRecord* record = ControlFind(number);
  if (!record) return;
  const HWND list = record->handle;
  if (record->ops->type_id == kColumnListType) {
    const auto rows = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
    if (rows > 0) SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(rows - 1), FALSE);
  } else if (record->ops->type_id == kLineListType) {
    const auto lines = SendMessageW(list, LB_GETCOUNT, 0, 0);
    if (lines > 0) SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(lines - 1), 0);
  }
}
