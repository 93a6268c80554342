#include "ui/column_list_control.h"

#include <algorithm>
#include <climits>

#include "ui/column_list.h"
#include "ui/events.h"
#include "ui/list_slots.h"

namespace {

// Titles read as the window system's header gives them: into a buffer of this many
// characters, the end included.
constexpr size_t kTitleBuffer = 4096;

ColumnListControl& List(ControlRecord& record) { return static_cast<ColumnListControl&>(*record.state); }

int64_t Notify(ControlRecord& record, NativeHandle control, const ControlNotice& notice) {
  // Reports that come while the control is being made find no state yet.
  if (!record.state) return kNotHandled;
  const std::optional<std::vector<int64_t>> details = ColumnListReact(List(record), notice);
  if (!details) return kNotHandled;
  for (const int64_t detail : *details) ControlEventPost(control, detail);
  return 0;
}

int64_t Selected(const ColumnListControl& list) { return list.view->FirstSelected(); }

}  // namespace

const ControlOps kColumnListOps = [] {
  ControlOps ops = ListSlots<ColumnListControl, Selected, ColumnListCellText, ColumnListAddRow, ColumnListClear>::Table(
      kColumnListType, Notify);
  ops.add_column = [](ControlRecord& record, int64_t position, const std::u16string& title, int64_t width) {
    if (record.state) ColumnListAddColumn(List(record), position, title, width);
  };
  return ops;
}();

ColumnListControl* ColumnListOf(ControlRecord* record) {
  if (!record || record->ops != &kColumnListOps || !record->state) return nullptr;
  return &List(*record);
}

void ColumnListStart(ControlRecord& record, std::unique_ptr<ColumnListView> view, uint32_t flags,
                     const std::u16string& title, int64_t title_width) {
  record.state = std::make_unique<ColumnListControl>(std::move(view), flags & kColumnListSorted);
  ColumnListAddColumn(List(record), 0, title, title_width);
}

std::u16string ColumnListCellText(const ColumnListControl& list, int64_t row, int64_t column) {
  if (column < 0 || column >= std::ssize(list.columns)) return {};
  const auto at = static_cast<size_t>(column);
  if (row == -1) return list.columns[at].title.substr(0, kTitleBuffer - 1);
  if (row < 0 || row >= std::ssize(list.rows)) return {};
  return list.rows[static_cast<size_t>(row)].cells[at];
}

void ColumnListAddColumn(ColumnListControl& list, int64_t position, const std::u16string& title, int64_t width) {
  if (position < 0) return;
  const auto count = static_cast<int>(list.columns.size());
  const int at = static_cast<int>(std::min<int64_t>(position, count));
  if (!list.view->InsertColumn(at, title, width)) return;
  list.columns.insert(list.columns.begin() + at, {title});
  for (ColumnListControl::Row& row : list.rows) row.cells.insert(row.cells.begin() + at, std::u16string());
  // The column sorting the list stays the one it was.
  if (count > 0 && at <= list.sort_column) ++list.sort_column;
  if (at < count) {
    for (size_t row = 0; row < list.rows.size(); ++row)
      list.view->RewriteRow(static_cast<int>(row), list.rows[row].cells);
    list.view->RewriteDone();
  }
  if (list.sorted) list.view->ShowSortArrow(list.sort_column, list.descending);
}

void ColumnListNumberColumn(int64_t number, int64_t column) {
  if (ColumnListControl* list = ColumnListOf(ControlFind(number))) ColumnListSetNumbers(*list, column, std::nullopt);
}

void ColumnListDimensionsColumn(int64_t number, int64_t column) {
  if (ColumnListControl* list = ColumnListOf(ControlFind(number)))
    ColumnListSetNumbers(*list, column, ColumnSort::kPixelCount);
}

void ColumnListUpdate(int64_t number, const std::vector<std::u16string>& rows) {
  if (ColumnListControl* list = ColumnListOf(ControlFind(number))) {
    const EventSuppression quiet;
    ColumnListUpdateRows(*list, rows);
  }
}
