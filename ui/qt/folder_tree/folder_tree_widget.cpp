#include "ui/qt/folder_tree/folder_tree_widget.h"

#include <QApplication>
#include <QMouseEvent>

#include "ui/control_register.h"
#include "ui/events.h"
#include "ui/qt/focus_frame.h"

FolderTreeWidget::FolderTreeWidget(QWidget* parent) : QTreeWidget(parent) {}

void FolderTreeWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    press_at_ = event->position().toPoint();
    press_node_ = indexAt(press_at_);
    left_held_ = true;
    dragging_ = false;
    double_click_ = false;
    QTreeWidget::mousePressEvent(event);
  }
  // The right button selects when it is released, as its click is reported.
}

void FolderTreeWidget::mouseMoveEvent(QMouseEvent* event) {
  if (left_held_ && !dragging_ && press_node_.isValid() &&
      (event->position().toPoint() - press_at_).manhattanLength() >= QApplication::startDragDistance()) {
    dragging_ = true;
    setCurrentIndex(press_node_);
    ControlEventPost(this, DetailDragStart);
  }
  // While dragging, the selection does not follow the pointer.
  if (!dragging_) QTreeWidget::mouseMoveEvent(event);
}

void FolderTreeWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    if (QTreeWidgetItem* node = itemAt(event->position().toPoint())) setCurrentItem(node);
    ControlEventPost(this, DetailRightClick);
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  const bool click = left_held_ && !dragging_ && !double_click_;
  left_held_ = false;
  press_node_ = QPersistentModelIndex();
  QTreeWidget::mouseReleaseEvent(event);
  if (click) ControlEventPost(this, DetailLeftClick);
}

void FolderTreeWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    ControlEventPost(this, DetailRightDoubleClick);
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  // The second press of the pair: it opens or closes the node, and its release is not
  // one more click.
  left_held_ = true;
  double_click_ = true;
  press_at_ = event->position().toPoint();
  press_node_ = QPersistentModelIndex();
  QTreeWidget::mouseDoubleClickEvent(event);
  ControlEventPost(this, DetailLeftDoubleClick);
}

QItemSelectionModel::SelectionFlags FolderTreeWidget::selectionCommand(const QModelIndex& index,
                                                                       const QEvent* event) const {
  const QItemSelectionModel::SelectionFlags command = QTreeWidget::selectionCommand(index, event);
  // Ctrl with a click or the space bar would deselect the selected node and leave the
  // tree without a folder; it selects the node instead.
  if (command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
    return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
  return command;
}

bool FolderTreeWidget::event(QEvent* event) {
  const bool handled = QTreeWidget::event(event);
  FocusFrameAfter(*this, *event);
  return handled;
}
