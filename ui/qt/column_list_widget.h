#pragma once
// The widget of a column list: turns the user's mouse actions into the list's
// notifications (ui/column_list_view.h) and keeps its rows in the order it is given.
#include <QPoint>
#include <QTreeWidget>
#include <memory>

// Where a row stands in the order the list was last given, kept in its first cell.
inline constexpr int kRowRankRole = Qt::UserRole;

class ColumnListWidget : public QTreeWidget {
 public:
  ColumnListWidget(QWidget* parent, bool multiple_selection, bool sorted);
  ~ColumnListWidget() override;

  // A row for the list, not yet in it: sorts by its rank.
  static std::unique_ptr<QTreeWidgetItem> NewRow();
  // The rows are measured again as they come into sight (after texts changed quietly).
  void RemeasureRows() { scheduleDelayedItemsLayout(); }

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

  // The left press that may become a drag: on a row, not yet dragged.
  bool press_on_row_ = false;
  bool dragging_ = false;
  QPoint press_at_;
  // The press in progress was the second of a double-click.
  bool double_click_ = false;
};
