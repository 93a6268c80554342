#include "ui/qt/full_text_tip.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

bool ShowFullTextTip(const QAbstractItemView& view, const QHelpEvent& event) {
  const QModelIndex index = view.indexAt(event.pos());
  const QString text = index.data(Qt::DisplayRole).toString();
  const QRect shown = view.visualRect(index).intersected(view.viewport()->rect());
  if (!index.isValid() || text.isEmpty() || view.sizeHintForIndex(index).width() <= shown.width()) {
    QToolTip::hideText();
    return true;
  }
  QToolTip::showText(event.globalPos(), text, view.viewport(), shown);
  return true;
}
