#include "ui/control_scroll.h"

#include <QAbstractItemView>

#include "ui/control_register.h"

void ControlScrollToEnd(int64_t number) {
  const ControlRecord* record = ControlFind(number);
  if (auto* view = record ? qobject_cast<QAbstractItemView*>(record->handle) : nullptr) view->scrollToBottom();
}
