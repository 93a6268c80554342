#include "ui/qt/column_list_widget.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <cstdlib>
#include <set>

#include "ui/column_list_model.h"
#include "ui/column_order.h"
#include "ui/control_register.h"
#include "ui/events.h"
#include "ui/qt/focus_frame.h"
#include "ui/qt/full_text_tip.h"
#include "ui/qt/text_view.h"

namespace {

constexpr Qt::Alignment kNumberAlignment = Qt::AlignRight | Qt::AlignVCenter;

ColumnSort SortOf(const QTreeWidget& list, int column) {
  return static_cast<ColumnSort>(list.headerItem()->data(column, kColumnSortRole).toInt());
}

// Negative, 0 or positive as row a sorts before, with or after row b by the column.
int RowOrder(const QTreeWidgetItem& a, const QTreeWidgetItem& b, int column, ColumnSort sort) {
  return ColumnRowsCompare(sort, TextView(a.text(column)), TextView(a.text(0)), TextView(b.text(column)),
                           TextView(b.text(0)));
}

// A row of a column list: sorts as RowOrder says.
class ColumnListRowItem : public QTreeWidgetItem {
 public:
  bool operator<(const QTreeWidgetItem& other) const override {
    const QTreeWidget* list = treeWidget();
    const int column = list ? list->sortColumn() : 0;
    return RowOrder(*this, other, column, list ? SortOf(*list, column) : ColumnSort::kNames) < 0;
  }
};

}  // namespace

ColumnListWidget::ColumnListWidget(QWidget* parent, bool multiple_selection, bool sorted)
    : QTreeWidget(parent), sorted_(sorted) {
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
  if (sorted_) {
    header()->setSortIndicatorShown(true);
    header()->setSortIndicator(sort_column_, sort_order_);
  }
  connect(header(), &QHeaderView::sectionClicked, this, [this](int column) {
    Notify(kListColumnClick, column);
    if (sorted_) SortBy(column);
  });
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

int ColumnListWidget::PlaceOf(const QTreeWidgetItem& row, int position) const {
  if (!sorted_) return position;
  const ColumnSort sort = SortOf(*this, sort_column_);
  return ColumnListPlaceFor(topLevelItemCount(), [&](int at) {
    const int order = RowOrder(row, *topLevelItem(at), sort_column_, sort);
    return sort_order_ == Qt::AscendingOrder ? order : -order;
  });
}

bool ColumnListWidget::IsNumberColumn(int column) const {
  return headerItem()->data(column, kGivenWidthRole).isValid();
}

void ColumnListWidget::SetNumberColumn(int column) {
  if (column < 0 || column >= columnCount()) return;
  headerItem()->setData(column, kGivenWidthRole, header()->sectionSize(column));
  headerItem()->setTextAlignment(column, kNumberAlignment);
  // The numbers stay in sight: the first column takes what the others leave of the
  // list's width, its texts cut short with "…" where they do not fit.
  if (column != 0) header()->setSectionResizeMode(0, QHeaderView::Stretch);
  for (int i = 0; i < topLevelItemCount(); ++i) RowAdded(*topLevelItem(i));
}

void ColumnListWidget::SetColumnSort(int column, ColumnSort sort) {
  if (column < 0 || column >= columnCount()) return;
  headerItem()->setData(column, kColumnSortRole, static_cast<int>(sort));
  SetNumberColumn(column);
  if (sorted_ && column == sort_column_) sortItems(sort_column_, sort_order_);
}

void ColumnListWidget::RewriteRows(const std::function<void()>& rewrite) {
  {
    const QSignalBlocker quiet(model());
    rewrite();
  }
  scheduleDelayedItemsLayout();
}

void ColumnListWidget::RowAdded(QTreeWidgetItem& row) {
  // The cell's margins as the style draws them, on both sides.
  const int margins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
  for (int column = 0; column < columnCount(); ++column) {
    if (!IsNumberColumn(column)) continue;
    row.setTextAlignment(column, kNumberAlignment);
    const int needed = fontMetrics().horizontalAdvance(row.text(column)) + margins;
    if (needed > header()->sectionSize(column)) header()->resizeSection(column, needed);
  }
}

void ColumnListWidget::RowsCleared() {
  for (int column = 0; column < columnCount(); ++column)
    if (IsNumberColumn(column)) header()->resizeSection(column, headerItem()->data(column, kGivenWidthRole).toInt());
}

void ColumnListWidget::SortBy(int column) {
  // A second click on the column sorting the list reverses the order.
  if (column == sort_column_)
    sort_order_ = sort_order_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
  else
    sort_order_ = Qt::AscendingOrder;
  sort_column_ = column;
  sortItems(sort_column_, sort_order_);
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
    // double-click is a plain button release; a drag is no click.
    if (double_click_)
      ControlEventPost(this, DetailLeftClick);
    else if (!dragging_)
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
    Notify(kListDoubleClick);
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
