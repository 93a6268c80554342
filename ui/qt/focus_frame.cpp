#include "ui/qt/focus_frame.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QPainter>

void FocusFrameAfter(QAbstractScrollArea& list, const QEvent& event) {
  if (event.type() != QEvent::Paint || !list.hasFocus()) return;
  QPainter painter(&list);
  painter.setPen(list.palette().color(QPalette::Active, QPalette::Highlight));
  painter.drawRect(list.rect().adjusted(0, 0, -1, -1));
}
