#pragma once
// The folder tree's widget: a one-column tree that turns the user's mouse actions into
// the control's events. Right clicks and drags select the node under the pointer
// first; a drag starts no drag and drop, it is only reported. The user moves the
// selection but never takes it away.
#include <QPersistentModelIndex>
#include <QPoint>
#include <QTreeWidget>

class FolderTreeWidget : public QTreeWidget {
 public:
  explicit FolderTreeWidget(QWidget* parent);

 protected:
  bool event(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index, const QEvent* event) const override;

 private:
  QPoint press_at_;
  QPersistentModelIndex press_node_;  // under the left button's press, while held
  bool left_held_ = false;
  bool dragging_ = false;      // this press became a drag
  bool double_click_ = false;  // this press was the second of a double-click
};
