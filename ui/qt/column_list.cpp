#include "ui/column_list.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QStyle>
#include <QTreeWidgetItem>
#include <set>

#include "ui/column_list_control.h"
#include "ui/qt/column_list_widget.h"
#include "ui/qt/control_create.h"
#include "ui/qt/geometry.h"
#include "ui/qt/list_selection.h"

namespace {

constexpr Qt::Alignment kNumberAlignment = Qt::AlignRight | Qt::AlignVCenter;

QString ToQt(std::u16string_view text) { return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())); }

const char* MarkName(ColumnListMark mark) {
  return mark == ColumnListMark::kLastSelected ? "WK_LastSelected" : "WK_ClikedColumn";
}

class QtColumnListView final : public ColumnListView {
 public:
  explicit QtColumnListView(ColumnListWidget& list) : list_(list) {}

  bool InsertColumn(int at, const std::u16string& title, int64_t width) override {
    const int count = list_.columnCount();
    list_.setColumnCount(count + 1);
    QHeaderView& header = *list_.header();
    QTreeWidgetItem& titles = *list_.headerItem();
    // Titles move with their alignment and widths; the cells are written anew.
    for (int column = count; column > at; --column) {
      for (const int role : {int{Qt::DisplayRole}, int{Qt::TextAlignmentRole}})
        titles.setData(column, role, titles.data(column - 1, role));
      header.resizeSection(column, header.sectionSize(column - 1));
    }
    numbers_.insert(numbers_.begin() + at, false);
    titles.setText(at, ToQt(title));
    titles.setData(at, Qt::TextAlignmentRole, QVariant());
    header.resizeSection(at, QtSize(width));
    return true;
  }
  void ShowAsNumbers(int column) override {
    numbers_[static_cast<size_t>(column)] = true;
    list_.headerItem()->setTextAlignment(column, kNumberAlignment);
    for (int row = 0; row < list_.topLevelItemCount(); ++row)
      list_.topLevelItem(row)->setTextAlignment(column, kNumberAlignment);
    // The numbers stay in sight: the first column takes what the others leave of the
    // list's width, its texts cut short with "…" where they do not fit.
    if (column != 0) list_.header()->setSectionResizeMode(0, QHeaderView::Stretch);
  }
  int ColumnWidth(int column) const override { return list_.header()->sectionSize(column); }
  void SetColumnWidth(int column, int width) override { list_.header()->resizeSection(column, width); }
  int CellWidth(std::u16string_view text) const override {
    // The cell's margins as the style draws them, on both sides.
    const int margins = 2 * (list_.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list_) + 1);
    return list_.fontMetrics().horizontalAdvance(ToQt(text)) + margins;
  }
  void ShowSortArrow(int column, bool descending) override {
    list_.header()->setSortIndicator(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
  }

  bool InsertRow(int at, std::span<const std::u16string> cells) override {
    std::unique_ptr<QTreeWidgetItem> row = ColumnListWidget::NewRow();
    row->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    Write(*row, cells);
    list_.insertTopLevelItem(at, row.release());
    return true;
  }
  void RewriteRow(int row, std::span<const std::u16string> cells) override {
    // Told cell by cell, the view would look each row up anew, and a folder's
    // thousands of rows would hold the window up: it measures them in RewriteDone.
    const QSignalBlocker quiet(list_.model());
    Write(*list_.topLevelItem(row), cells);
  }
  void RewriteDone() override { list_.RemeasureRows(); }
  void RemoveRow(int row) override { delete list_.takeTopLevelItem(row); }
  void ClearRows() override { list_.clear(); }
  void Reorder(std::span<const int> order) override {
    {
      const QSignalBlocker quiet(list_.model());
      for (size_t rank = 0; rank < order.size(); ++rank)
        list_.topLevelItem(order[rank])->setData(0, kRowRankRole, static_cast<qlonglong>(rank));
    }
    // Sorting by rank keeps the selection and the current row with their rows.
    list_.sortItems(0, Qt::AscendingOrder);
  }

  int FirstSelected() const override { return static_cast<int>(FirstSelectedRow(list_)); }
  std::vector<int> SelectedRows() const override {
    std::set<int> rows;
    for (const QItemSelectionRange& range : list_.selectionModel()->selection())
      for (int row = range.top(); row <= range.bottom(); ++row) rows.insert(row);
    return {rows.begin(), rows.end()};
  }
  void Select(int row, bool selected) override { list_.topLevelItem(row)->setSelected(selected); }
  int CurrentRow() const override { return list_.currentItem() ? list_.indexOfTopLevelItem(list_.currentItem()) : -1; }
  void SetCurrentRow(int row) override {
    list_.setCurrentItem(list_.topLevelItem(row), 0, QItemSelectionModel::NoUpdate);
  }
  int TopRow() const override {
    QTreeWidgetItem* shown = list_.itemAt(0, 0);
    return shown ? list_.indexOfTopLevelItem(shown) : -1;
  }
  void ScrollToTop(int row) override { list_.scrollToItem(list_.topLevelItem(row), QAbstractItemView::PositionAtTop); }

  void SetMark(ColumnListMark mark, int64_t value) override {
    list_.setProperty(MarkName(mark), static_cast<qlonglong>(value));
  }
  int64_t Mark(ColumnListMark mark) const override { return list_.property(MarkName(mark)).toLongLong(); }

 private:
  // The cells' texts, number cells right-aligned.
  void Write(QTreeWidgetItem& row, std::span<const std::u16string> cells) const {
    for (size_t column = 0; column < cells.size(); ++column) {
      const auto at = static_cast<int>(column);
      row.setText(at, ToQt(cells[column]));
      row.setData(at, Qt::TextAlignmentRole, numbers_[column] ? QVariant(kNumberAlignment) : QVariant());
    }
  }

  ColumnListWidget& list_;
  std::vector<bool> numbers_;  // per column: it shows numbers
};

}  // namespace

int64_t ColumnListCreate(int64_t number, int64_t x, int64_t y, int64_t width, int64_t height,
                         const std::u16string& title, int64_t title_width, uint32_t flags) {
  QWidget* container = ControlContainer();
  if (!container) return 0;
  auto* list = new ColumnListWidget(container, flags & kColumnListMultipleSelection, flags & kColumnListSorted);
  list->header()->setSectionsMovable(flags & kColumnListMovableColumns);
  const CreatedControl created = ControlCreate(number, list, x, y, width, height, kColumnListOps);
  if (!created.record) return 0;
  ColumnListStart(*created.record, std::make_unique<QtColumnListView>(*list), flags, title, title_width);
  return created.result;
}
