#include "ui/qt/list_selection.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>

int64_t FirstSelectedRow(const QAbstractItemView& view) {
  const QItemSelectionModel* selection = view.selectionModel();
  if (!selection) return -1;
  int64_t first = -1;
  for (const QItemSelectionRange& range : selection->selection())
    if (first < 0 || range.top() < first) first = range.top();
  return first;
}
