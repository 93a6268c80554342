#include "ui/qt/full_text_tip.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

bool ShowFullTextTip(const QAbstractItemView& view, const QHelpEvent& event, int needed_width) {
  const QModelIndex index = view.indexAt(event.pos());
  const QString text = index.data(Qt::DisplayRole).toString();
  const QRect item = view.visualRect(index);
  const QRect shown = item.intersected(view.viewport()->rect());
  const int needed = needed_width < 0 ? view.sizeHintForIndex(index).width() : needed_width;
  // Whole when the part shown holds the text from its start.
  if (!index.isValid() || text.isEmpty() || (shown.left() == item.left() && needed <= shown.width())) {
    QToolTip::hideText();
    return true;
  }
  QToolTip::showText(event.globalPos(), text, view.viewport(), shown);
  return true;
}
