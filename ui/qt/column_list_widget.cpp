#include "ui/qt/column_list_widget.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <cstdlib>
#include <set>

#include "ui/column_list_view.h"
#include "ui/events.h"
#include "ui/qt/focus_frame.h"
#include "ui/qt/full_text_tip.h"

namespace {

// A row of a column list: sorts by its rank.
class ColumnListRowItem : public QTreeWidgetItem {
 public:
  bool operator<(const QTreeWidgetItem& other) const override {
    return data(0, kRowRankRole).toLongLong() < other.data(0, kRowRankRole).toLongLong();
  }
};

}  // namespace

ColumnListWidget::ColumnListWidget(QWidget* parent, bool multiple_selection, bool sorted) : QTreeWidget(parent) {
  setRootIsDecorated(false);
  setIndentation(0);
  // Rows are as tall as the fonts that draw them, fallback fonts included.
  setUniformRowHeights(false);
  setItemsExpandable(false);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(multiple_selection ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setColumnCount(0);
  // Columns keep the widths they were given; wider than the list, it scrolls sideways.
  header()->setStretchLastSection(false);
  header()->setSectionsClickable(true);
  header()->setSortIndicatorShown(sorted);
  connect(header(), &QHeaderView::sectionClicked, this, [this](int column) { Notify(kListColumnClick, column); });
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &ColumnListWidget::SelectionChanged);
}

ColumnListWidget::~ColumnListWidget() {
  // Whatever the base classes do to the selection while they are destroyed is not a
  // report of this list any more.
  disconnect(selectionModel(), nullptr, this, nullptr);
}

std::unique_ptr<QTreeWidgetItem> ColumnListWidget::NewRow() { return std::make_unique<ColumnListRowItem>(); }

void ColumnListWidget::Notify(int32_t code, int64_t item, bool old_selected, bool new_selected) {
  ControlNotify(this, {NoticeKind::kNotify, code, item, old_selected, new_selected});
}

void ColumnListWidget::SelectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
  // One report per row, the row left before the row entered.
  std::set<int> left;
  for (const QModelIndex& index : deselected.indexes()) left.insert(index.row());
  for (const int row : left) Notify(kListItemChanged, row, true, false);
  std::set<int> entered;
  for (const QModelIndex& index : selected.indexes()) entered.insert(index.row());
  for (const int row : entered) Notify(kListItemChanged, row, false, true);
}

void ColumnListWidget::mousePressEvent(QMouseEvent* event) {
  double_click_ = false;
  if (event->button() == Qt::LeftButton) {
    Notify(kListPress);
    press_on_row_ = itemAt(event->position().toPoint()) != nullptr;
    dragging_ = false;
    press_at_ = event->position().toPoint();
  }
  QTreeWidget::mousePressEvent(event);
}

void ColumnListWidget::mouseMoveEvent(QMouseEvent* event) {
  // A press on a row starts a drag once the pointer leaves the drag distance; until
  // the button is released the selection does not follow the pointer.
  if ((event->buttons() & Qt::LeftButton) && press_on_row_) {
    const QPoint moved = event->position().toPoint() - press_at_;
    const int distance = QApplication::startDragDistance();
    if (!dragging_ && (std::abs(moved.x()) > distance || std::abs(moved.y()) > distance)) {
      dragging_ = true;
      Notify(kListBeginDrag, itemAt(press_at_) ? indexOfTopLevelItem(itemAt(press_at_)) : -1);
    }
    return;
  }
  QTreeWidget::mouseMoveEvent(event);
}

void ColumnListWidget::mouseReleaseEvent(QMouseEvent* event) {
  QTreeWidget::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton) {
    press_on_row_ = false;
    // A click reports itself when the button comes up; the release that ends a
    // double-click is a plain button release.
    if (double_click_)
      ControlEventPost(this, DetailLeftClick);
    else
      Notify(kListClick);
  } else if (event->button() == Qt::RightButton && !double_click_) {
    Notify(kListRightClick);
  }
}

void ColumnListWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  QTreeWidget::mouseDoubleClickEvent(event);
  double_click_ = true;
  if (event->button() == Qt::LeftButton) Notify(kListDoubleClick);
  if (event->button() == Qt::RightButton) Notify(kListRightDoubleClick);
}

void ColumnListWidget::keyPressEvent(QKeyEvent* event) {
  // Enter on a selected row opens it as a double-click does.
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (enter && plain && !selectedItems().isEmpty()) {
    Notify(kListReturn);
    event->accept();
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

bool ColumnListWidget::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::ToolTip) return ShowFullTextTip(*this, static_cast<QHelpEvent&>(*event));
  return QTreeWidget::viewportEvent(event);
}

bool ColumnListWidget::event(QEvent* event) {
  const bool handled = QTreeWidget::event(event);
  FocusFrameAfter(*this, *event);
  return handled;
}
