#include "ui/popup_menu.h"

#include <QCursor>
#include <QMenu>
#include <QWidget>

#include "ui/control_register.h"

int PopupMenuShow(int64_t control, const std::vector<std::u16string>& items, int checked) {
  const ControlRecord* record = ControlFind(control);
  if (!record || !record->handle) return -1;
  QWidget* widget = record->handle;
  QMenu menu(widget);
  for (size_t i = 0; i < items.size(); ++i) {
    QAction* action = menu.addAction(QString::fromStdU16String(items[i]));
    action->setData(static_cast<int>(i));
    action->setCheckable(true);
    action->setChecked(static_cast<int>(i) == checked);
  }
  const QPoint pointer = widget->mapFromGlobal(QCursor::pos());
  const QPoint at =
      widget->rect().contains(pointer) ? QCursor::pos() : widget->mapToGlobal(widget->rect().bottomLeft());
  const QAction* chosen = menu.exec(at);
  return chosen ? chosen->data().toInt() : -1;
}
