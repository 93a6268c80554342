#pragma once
// The widget of a column list: turns the user's mouse actions into the list's
// notifications, as the column list's Notify routine expects them, keeps a sorted
// list in order and fits its number columns to their numbers.
#include <QPoint>
#include <QTreeWidget>
#include <functional>
#include <memory>

#include "ui/column_order.h"

// Notification codes of the column list.
inline constexpr int32_t kListClick = -2;
inline constexpr int32_t kListDoubleClick = -3;
inline constexpr int32_t kListRightClick = -5;
inline constexpr int32_t kListRightDoubleClick = -6;
inline constexpr int32_t kListItemChanged = -101;
inline constexpr int32_t kListColumnClick = -108;
inline constexpr int32_t kListBeginDrag = -109;

// The width a number column was given, kept in its title's data.
inline constexpr int kGivenWidthRole = Qt::UserRole;
// What a column sorts by (a ColumnSort), kept in its title's data; none: names.
inline constexpr int kColumnSortRole = Qt::UserRole + 1;

class ColumnListWidget : public QTreeWidget {
 public:
  ColumnListWidget(QWidget* parent, bool multiple_selection, bool sorted);
  ~ColumnListWidget() override;

  // A row for the list, not yet in it.
  static std::unique_ptr<QTreeWidgetItem> NewRow();

  // Where a new row goes: at the position asked for, or in a sorted list at its place in
  // the order shown.
  int PlaceOf(const QTreeWidgetItem& row, int position) const;
  // Runs `rewrite`, which changes texts of rows where they stand, and has the view
  // measure the rows again as they come into sight: told cell by cell, the view looks
  // each row up anew, and a folder's thousands of rows would hold the window up.
  void RewriteRows(const std::function<void()>& rewrite);
  // The column that sorts the list; -1 for a list that keeps the order rows came in.
  int SortColumn() const { return sorted_ ? sort_column_ : -1; }
  // A row has been put in: its number cells are aligned and their columns widened to
  // show them whole.
  void RowAdded(QTreeWidgetItem& row);
  // The number columns go back to the widths they were given.
  void RowsCleared();
  // Marks the column as one of numbers: right-aligned, at least as wide as its widest
  // number; the first column then fills the rest of the list's width.
  void SetNumberColumn(int column);
  // Marks the column as a number column whose cells sort as `sort` says.
  void SetColumnSort(int column, ColumnSort sort);

 protected:
  bool event(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  void Notify(int32_t code, int64_t item = -1, bool old_selected = false, bool new_selected = false);
  void SelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
  void SortBy(int column);
  bool IsNumberColumn(int column) const;

  // The left press that may become a drag: on a row, not yet dragged.
  bool press_on_row_ = false;
  bool dragging_ = false;
  QPoint press_at_;
  // The press in progress was the second of a double-click.
  bool double_click_ = false;
  bool sorted_ = false;
  int sort_column_ = 0;
  Qt::SortOrder sort_order_ = Qt::AscendingOrder;
};
