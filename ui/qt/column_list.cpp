#include "ui/column_list.h"

#include <QHeaderView>
#include <QTreeWidgetItem>
#include <algorithm>
#include <climits>
#include <memory>
#include <set>

#include "ui/column_list_model.h"
#include "ui/events.h"
#include "ui/qt/column_list_widget.h"
#include "ui/qt/control_create.h"
#include "ui/qt/geometry.h"
#include "ui/qt/list_selection.h"

namespace {

// Header titles are read into a buffer of this many characters, the end included.
constexpr qsizetype kTitleBuffer = 4096;
constexpr char kLastSelected[] = "WK_LastSelected";
constexpr char kClickedColumn[] = "WK_ClikedColumn";

ColumnListWidget& List(ControlRecord& record) { return static_cast<ColumnListWidget&>(*record.handle); }

QString ToQt(const std::u16string& text) { return QString::fromStdU16String(text); }

// Writes the text's pieces, split at line feeds, into the row's columns. Pieces
// beyond the last column are dropped; each piece counts for the longest text.
void ColumnListRow(ControlRecord& record, QTreeWidgetItem& row, const std::u16string& text) {
  const int columns = List(record).columnCount();
  const std::vector<std::u16string_view> pieces = ColumnRowPieces(text);
  for (size_t column = 0; column < pieces.size(); ++column) {
    record.type_data = std::max(record.type_data, static_cast<int64_t>(pieces[column].size()));
    if (column < static_cast<size_t>(columns))
      row.setText(static_cast<int>(column),
                  QString::fromUtf16(pieces[column].data(), static_cast<qsizetype>(pieces[column].size())));
  }
}

int64_t AddItem(ControlRecord& record, int64_t position, const std::u16string& text, int64_t) {
  ColumnListWidget& list = List(record);
  const int64_t count = list.topLevelItemCount();
  if (position < 0 || position > count) position = count;
  std::unique_ptr<QTreeWidgetItem> row = ColumnListWidget::NewRow();
  row->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  ColumnListRow(record, *row, text);
  QTreeWidgetItem& added = *row;
  list.insertTopLevelItem(list.PlaceOf(added, static_cast<int>(position)), row.release());
  list.RowAdded(added);
  return 0;
}

void UpdateRows(ControlRecord& record, const std::vector<std::u16string>& rows) {
  ColumnListWidget& list = List(record);
  const EventSuppression quiet;
  // Rows taken out move the current row and its selection on: both are put back by name.
  std::set<QString> chosen;
  for (const QTreeWidgetItem* row : list.selectedItems()) chosen.insert(row->text(0));
  const QString current = list.currentItem() ? list.currentItem()->text(0) : QString();
  const QTreeWidgetItem* shown = list.itemAt(0, 0);
  const QString top = shown ? shown->text(0) : QString();
  std::vector<std::vector<std::u16string>> cells(static_cast<size_t>(list.topLevelItemCount()));
  for (size_t i = 0; i < cells.size(); ++i)
    for (int column = 0; column < list.columnCount(); ++column)
      cells[i].push_back(list.topLevelItem(static_cast<int>(i))->text(column).toStdU16String());
  const ColumnListEdit edit = ColumnListEditFor(cells, rows, list.SortColumn());
  if (!edit.rewrite.empty()) {
    list.RewriteRows([&] {
      for (const ColumnListEdit::PutIn& put : edit.rewrite) {
        QTreeWidgetItem& row = *list.topLevelItem(put.replaces);
        ColumnListRow(record, row, *put.text);
        list.RowAdded(row);
      }
    });
  }
  // Every row that goes or moves is out before any comes in, so that the indexes hold.
  std::vector<std::unique_ptr<QTreeWidgetItem>> taken(cells.size());
  for (const int row : edit.take_out) taken[static_cast<size_t>(row)].reset(list.takeTopLevelItem(row));
  for (const ColumnListEdit::PutIn& put : edit.put_in) {
    if (put.replaces < 0) {
      AddItem(record, -1, *put.text, 0);
      continue;
    }
    // Rewritten and put back at its place in the order shown.
    std::unique_ptr<QTreeWidgetItem> row = std::move(taken[static_cast<size_t>(put.replaces)]);
    ColumnListRow(record, *row, *put.text);
    QTreeWidgetItem& moved = *row;
    list.insertTopLevelItem(list.PlaceOf(moved, list.topLevelItemCount()), row.release());
    list.RowAdded(moved);
  }
  list.clearSelection();
  for (int i = 0; i < list.topLevelItemCount(); ++i) {
    QTreeWidgetItem* row = list.topLevelItem(i);
    if (row->text(0) == current) list.setCurrentItem(row, 0, QItemSelectionModel::NoUpdate);
    if (chosen.count(row->text(0))) row->setSelected(true);
  }
  // The row that stood at the top stays there, whatever came or went above it.
  if (QTreeWidgetItem* still = top.isNull() ? nullptr : list.findItems(top, Qt::MatchExactly).value(0))
    list.scrollToItem(still, QAbstractItemView::PositionAtTop);
}

void ClearItems(ControlRecord& record) {
  List(record).clear();
  List(record).RowsCleared();
  record.type_data = 0;
}

std::u16string GetItemText(ControlRecord& record, int64_t row, int64_t column) {
  ColumnListWidget& list = List(record);
  if (column < 0 || column >= list.columnCount()) return {};
  if (row == -1) return list.headerItem()->text(static_cast<int>(column)).left(kTitleBuffer - 1).toStdU16String();
  if (row < 0 || row >= list.topLevelItemCount()) return {};
  // Every cell text is at most the longest text written, so nothing is lost here.
  return list.topLevelItem(static_cast<int>(row))
      ->text(static_cast<int>(column))
      .left(static_cast<qsizetype>(record.type_data))
      .toStdU16String();
}

int64_t GetState(ControlRecord& record) { return FirstSelectedRow(List(record)); }

std::u16string GetText(ControlRecord& record) {
  const int64_t row = GetState(record);
  return row < 0 ? std::u16string() : GetItemText(record, row, 0);
}

// Inserts a column: titles, cells and widths from the position on move one column
// to the right; the new column's cells are empty. A position beyond the last column
// appends; a negative one is refused.
void AddColumn(ControlRecord& record, int64_t position, const std::u16string& title, int64_t width) {
  ColumnListWidget& list = List(record);
  const int count = list.columnCount();
  if (position < 0) return;
  const int at = static_cast<int>(std::min<int64_t>(position, count));
  list.setColumnCount(count + 1);
  QHeaderView& header = *list.header();
  // Texts move with their alignment (and a number column's title with its width).
  auto shift = [&](QTreeWidgetItem& item) {
    for (int column = count; column > at; --column)
      for (const int role : {int{Qt::DisplayRole}, int{Qt::TextAlignmentRole}, kGivenWidthRole, kColumnSortRole})
        item.setData(column, role, item.data(column - 1, role));
  };
  shift(*list.headerItem());
  for (int i = 0; i < list.topLevelItemCount(); ++i) {
    QTreeWidgetItem& row = *list.topLevelItem(i);
    shift(row);
    row.setText(at, QString());
    row.setData(at, Qt::TextAlignmentRole, QVariant());
  }
  for (int column = count; column > at; --column) header.resizeSection(column, header.sectionSize(column - 1));
  list.headerItem()->setText(at, ToQt(title));
  list.headerItem()->setData(at, Qt::TextAlignmentRole, QVariant());
  list.headerItem()->setData(at, kGivenWidthRole, QVariant());
  list.headerItem()->setData(at, kColumnSortRole, QVariant());
  header.resizeSection(at, QtSize(width));
}

// With no row selected, the first report of that since a row was selected is a
// change of the selection.
void EmptySelectionCheck(ControlRecord& record) {
  ColumnListWidget& list = List(record);
  if (GetState(record) >= 0) return;
  const QVariant last = list.property(kLastSelected);
  if (last.isValid() && last.toLongLong() == -1) return;
  list.setProperty(kLastSelected, qlonglong{-1});
  ControlEventPost(&list, DetailChange);
}

int64_t Notify(ControlRecord& record, QWidget* control, const ControlNotice& notice) {
  if (notice.kind != NoticeKind::kNotify) return kNotHandled;
  switch (notice.code) {
    case kListBeginDrag:
      ControlEventPost(control, DetailDragStart);
      return 0;
    case kListColumnClick:
      control->setProperty(kClickedColumn, qlonglong{notice.item});
      ControlEventPost(control, DetailColumnClick);
      return 0;
    case kListItemChanged:
      if (notice.new_selected) control->setProperty(kLastSelected, qlonglong{notice.item});
      if (notice.new_selected || notice.old_selected) ControlEventPost(control, DetailChange);
      return 0;
    case kListRightDoubleClick:
      ControlEventPost(control, DetailRightDoubleClick);
      return 0;
    case kListRightClick:
      EmptySelectionCheck(record);
      ControlEventPost(control, DetailRightClick);
      return 0;
    case kListDoubleClick:
      ControlEventPost(control, DetailLeftDoubleClick);
      return 0;
    case kListClick:
      EmptySelectionCheck(record);
      if (GetState(record) >= 0) ControlEventPost(control, DetailLeftClick);
      return 0;
    default:
      return kNotHandled;
  }
}

const ControlOps kColumnListOps{
    .type_id = kColumnListType,
    .notify = Notify,
    .get_state = GetState,
    .get_text = GetText,
    .add_item = AddItem,
    .clear_items = ClearItems,
    .get_item_text = GetItemText,
    .add_column = AddColumn,
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
  AddColumn(*created.record, 0, title, title_width);
  return created.result;
}

void ColumnListNumberColumn(int64_t number, int64_t column) {
  ControlRecord* record = ControlFind(number);
  if (record && record->ops == &kColumnListOps && column >= 0 && column <= INT_MAX)
    List(*record).SetNumberColumn(static_cast<int>(column));
}

void ColumnListUpdate(int64_t number, const std::vector<std::u16string>& rows) {
  ControlRecord* record = ControlFind(number);
  if (record && record->ops == &kColumnListOps) UpdateRows(*record, rows);
}

void ColumnListDimensionsColumn(int64_t number, int64_t column) {
  ControlRecord* record = ControlFind(number);
  if (record && record->ops == &kColumnListOps && column >= 0 && column <= INT_MAX)
    List(*record).SetColumnSort(static_cast<int>(column), ColumnSort::kPixelCount);
}
