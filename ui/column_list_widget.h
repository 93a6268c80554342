#pragma once
// The widget of a column list: turns the user's mouse actions into the list's
// notifications, as the column list's Notify routine expects them.
#include <QPoint>
#include <QTreeWidget>

// Notification codes of the column list.
inline constexpr int32_t kListClick = -2;
inline constexpr int32_t kListDoubleClick = -3;
inline constexpr int32_t kListRightClick = -5;
inline constexpr int32_t kListRightDoubleClick = -6;
inline constexpr int32_t kListItemChanged = -101;
inline constexpr int32_t kListColumnClick = -108;
inline constexpr int32_t kListBeginDrag = -109;

class ColumnListWidget : public QTreeWidget {
 public:
  ColumnListWidget(QWidget* parent, bool multiple_selection);
  ~ColumnListWidget() override;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

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
