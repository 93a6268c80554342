// The order of a sorted column list: rows as people read names, by the column last
// clicked, reversed by a second click on it.
#include <windows.h>

#include <commctrl.h>

#include <map>
#include <string>
#include <utility>

#include "ui/column_list_model.h"
#include "ui/column_order.h"
#include "ui/win32/column_list_state.h"
#include "ui/win32/list_view_cells.h"

namespace {

// Rows compare by the column, then by the first column; rows alike in both go by the
// order they were added in.
struct RowOrder {
  HWND list;
  int column;
  ColumnSort sort;
  bool descending;
  size_t capacity;  // for reading cells: the longest text written, its end included

  std::u16string Cell(int row, int column_read) const { return ListViewCellText(list, row, column_read, capacity); }

  // Negative, 0 or positive as row a (its cells in the column and the first column)
  // sorts before, with or after row b in the order shown.
  int Shown(std::u16string_view a_cell, std::u16string_view a_first, std::u16string_view b_cell,
            std::u16string_view b_first) const {
    const int order = ColumnRowsCompare(sort, a_cell, a_first, b_cell, b_first);
    return descending ? -order : order;
  }
};

LPARAM RowParameter(HWND list, int row) {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return item.lParam;
}

// The texts a sort compares, read before it starts: while it runs the rows stand
// nowhere in particular. Rows are found by their parameters.
struct SortKeys {
  using Texts = std::pair<std::u16string, std::u16string>;  // the column's and the first's
  const RowOrder* order;
  std::map<LPARAM, Texts> texts;

  const Texts& Of(LPARAM row) const {
    static const Texts kNone;
    const auto found = texts.find(row);
    return found == texts.end() ? kNone : found->second;
  }
};

int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM context) {
  const SortKeys& keys = *reinterpret_cast<const SortKeys*>(context);
  const auto& [x_column, x_name] = keys.Of(a);
  const auto& [y_column, y_name] = keys.Of(b);
  if (int by_row = keys.order->Shown(x_column, x_name, y_column, y_name)) return by_row;
  return a < b ? -1 : a > b ? 1 : 0;
}

RowOrder OrderOf(ControlRecord& record) {
  const ColumnListState& state = ColumnListStateOf(record);
  const auto column = static_cast<size_t>(state.sort_column);
  const ColumnSort sort = column < state.sorts.size() ? state.sorts[column] : ColumnSort::kNames;
  return {record.handle, state.sort_column, sort, state.descending, static_cast<size_t>(record.type_data) + 1};
}

}  // namespace

int ColumnListPlace(ControlRecord& record, const std::vector<std::u16string_view>& pieces, int position) {
  if (!ColumnListStateOf(record).sorted) return position;
  const RowOrder order = OrderOf(record);
  const auto piece = [&](int column) {
    return static_cast<size_t>(column) < pieces.size() ? pieces[static_cast<size_t>(column)] : std::u16string_view();
  };
  return ColumnListPlaceFor(ListViewRowCount(record.handle), [&](int row) {
    return order.Shown(piece(order.column), piece(0), order.Cell(row, order.column), order.Cell(row, 0));
  });
}

void ColumnListSortBy(ControlRecord& record, int column) {
  ColumnListState& state = ColumnListStateOf(record);
  if (!state.sorted || column < 0 || column >= ListViewColumnCount(record.handle)) return;
  state.descending = column == state.sort_column && !state.descending;
  state.sort_column = column;
  ColumnListSort(record);
}

void ColumnListSort(ControlRecord& record) {
  if (!ColumnListStateOf(record).sorted) return;
  const RowOrder order = OrderOf(record);
  SortKeys keys{&order, {}};
  for (int row = 0; row < ListViewRowCount(record.handle); ++row)
    keys.texts[RowParameter(record.handle, row)] = {order.Cell(row, order.column), order.Cell(row, 0)};
  SendMessageW(record.handle, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&keys), reinterpret_cast<LPARAM>(&CompareRows));
  ColumnListShowOrder(record);
}

void ColumnListShowOrder(ControlRecord& record) {
  const ColumnListState& state = ColumnListStateOf(record);
  if (!state.sorted) return;
  const auto header = reinterpret_cast<HWND>(SendMessageW(record.handle, LVM_GETHEADER, 0, 0));
  const int columns = ListViewColumnCount(record.handle);
  for (int column = 0; column < columns; ++column) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    if (!SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item))) continue;
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (column == state.sort_column) item.fmt |= state.descending ? HDF_SORTDOWN : HDF_SORTUP;
    SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
  }
}
