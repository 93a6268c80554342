// A column list's rows: where each stands in a sorted list, the widths of its number
// columns, and the edit that brings them to new texts keeping what the user chose.
#include <algorithm>
#include <numeric>
#include <unordered_set>

#include "ui/column_list_control.h"
#include "ui/column_list_model.h"

namespace {

using Cells = std::vector<std::u16string>;

Cells CellsOf(std::u16string_view text, size_t columns) {
  const std::vector<std::u16string_view> pieces = ColumnRowPieces(text);
  Cells cells(columns);
  for (size_t column = 0; column < columns && column < pieces.size(); ++column) cells[column] = pieces[column];
  return cells;
}

std::u16string_view Cell(const Cells& cells, int column) {
  return static_cast<size_t>(column) < cells.size() ? cells[static_cast<size_t>(column)] : std::u16string_view();
}

// Negative, 0 or positive as row a sorts before, with or after row b in the order shown.
int Shown(const ColumnListControl& list, const Cells& a, const Cells& b) {
  const int column = list.sort_column;
  const ColumnSort sort = static_cast<size_t>(column) < list.columns.size()
                              ? list.columns[static_cast<size_t>(column)].sort
                              : ColumnSort::kNames;
  const int order = ColumnRowsCompare(sort, Cell(a, column), Cell(a, 0), Cell(b, column), Cell(b, 0));
  return list.descending ? -order : order;
}

// Widens the number columns to show the row's numbers whole.
void FitRow(ColumnListControl& list, int row) {
  for (size_t column = 0; column < list.columns.size(); ++column) {
    if (list.columns[column].given_width < 0) continue;
    const auto at = static_cast<int>(column);
    const int needed = list.view->CellWidth(list.rows[static_cast<size_t>(row)].cells[column]);
    if (needed > list.view->ColumnWidth(at)) list.view->SetColumnWidth(at, needed);
  }
}

// Puts the rows of a sorted list in its order (after the order changed).
void Sort(ColumnListControl& list) {
  if (!list.sorted) return;
  std::vector<int> order(list.rows.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](int a, int b) {
    const ColumnListControl::Row& x = list.rows[static_cast<size_t>(a)];
    const ColumnListControl::Row& y = list.rows[static_cast<size_t>(b)];
    if (const int by_cells = Shown(list, x.cells, y.cells)) return by_cells < 0;
    return x.added < y.added;
  });
  std::vector<ColumnListControl::Row> sorted;
  sorted.reserve(order.size());
  for (const int from : order) sorted.push_back(std::move(list.rows[static_cast<size_t>(from)]));
  list.rows = std::move(sorted);
  if (!std::is_sorted(order.begin(), order.end())) list.view->Reorder(order);
  list.view->ShowSortArrow(list.sort_column, list.descending);
}

// The first column's text of the row; none for -1.
std::optional<std::u16string> NameOf(const ColumnListControl& list, int row) {
  if (row < 0 || row >= std::ssize(list.rows)) return std::nullopt;
  return list.rows[static_cast<size_t>(row)].cells[0];
}

}  // namespace

int64_t ColumnListAddRow(ColumnListControl& list, int64_t position, const std::u16string& text) {
  const auto count = static_cast<int>(list.rows.size());
  ColumnListControl::Row row{CellsOf(text, list.columns.size()), ++list.rows_added};
  int at = position < 0 || position > count ? count : static_cast<int>(position);
  if (list.sorted)
    at = ColumnListPlaceFor(count,
                            [&](int i) { return Shown(list, row.cells, list.rows[static_cast<size_t>(i)].cells); });
  if (!list.view->InsertRow(at, row.cells)) return 0;
  list.rows.insert(list.rows.begin() + at, std::move(row));
  FitRow(list, at);
  return 0;
}

void ColumnListClear(ColumnListControl& list) {
  list.view->ClearRows();
  list.rows.clear();
  // The number columns go back to the widths they were given.
  for (size_t column = 0; column < list.columns.size(); ++column)
    if (const int given = list.columns[column].given_width; given >= 0)
      list.view->SetColumnWidth(static_cast<int>(column), given);
}

void ColumnListSetNumbers(ColumnListControl& list, int64_t column, std::optional<ColumnSort> sort) {
  if (column < 0 || column >= std::ssize(list.columns)) return;
  const auto at = static_cast<int>(column);
  ColumnListControl::Column& marked = list.columns[static_cast<size_t>(at)];
  marked.given_width = list.view->ColumnWidth(at);
  list.view->ShowAsNumbers(at);
  for (size_t row = 0; row < list.rows.size(); ++row) FitRow(list, static_cast<int>(row));
  if (!sort) return;
  marked.sort = *sort;
  // A list sorted by the column takes the new order at once.
  if (list.sort_column == at) Sort(list);
}

void ColumnListSortBy(ColumnListControl& list, int column) {
  if (!list.sorted || column < 0 || column >= std::ssize(list.columns)) return;
  list.descending = column == list.sort_column && !list.descending;
  list.sort_column = column;
  Sort(list);
}

void ColumnListUpdateRows(ColumnListControl& list, const std::vector<std::u16string>& texts) {
  ColumnListView& view = *list.view;
  // Rows taken out move the selection and the current row on: both are put back by name.
  std::unordered_set<std::u16string> chosen;
  for (const int row : view.SelectedRows())
    if (const auto name = NameOf(list, row)) chosen.insert(*name);
  const std::optional<std::u16string> current = NameOf(list, view.CurrentRow());
  const std::optional<std::u16string> top = NameOf(list, view.TopRow());
  std::vector<Cells> shown;
  shown.reserve(list.rows.size());
  for (const ColumnListControl::Row& row : list.rows) shown.push_back(row.cells);
  const ColumnListEdit edit = ColumnListEditFor(shown, texts, list.sorted ? list.sort_column : -1);
  for (const ColumnListEdit::PutIn& put : edit.rewrite) {
    Cells& cells = list.rows[static_cast<size_t>(put.replaces)].cells;
    cells = CellsOf(*put.text, list.columns.size());
    view.RewriteRow(put.replaces, cells);
    FitRow(list, put.replaces);
  }
  if (!edit.rewrite.empty()) view.RewriteDone();
  // Every row that goes or moves is out before any comes in, so that the indexes hold.
  for (const int row : edit.take_out) {
    view.RemoveRow(row);
    list.rows.erase(list.rows.begin() + row);
  }
  for (const ColumnListEdit::PutIn& put : edit.put_in) ColumnListAddRow(list, -1, *put.text);
  std::vector<bool> selected(list.rows.size());
  for (const int row : view.SelectedRows()) selected[static_cast<size_t>(row)] = true;
  for (size_t row = 0; row < list.rows.size(); ++row) {
    const std::u16string& name = list.rows[row].cells[0];
    const bool wanted = chosen.count(name) > 0;
    if (wanted != selected[row]) view.Select(static_cast<int>(row), wanted);
    if (current && name == *current) view.SetCurrentRow(static_cast<int>(row));
  }
  // The row that stood at the top stays there, whatever came or went above it.
  if (!top) return;
  for (size_t row = 0; row < list.rows.size(); ++row)
    if (list.rows[row].cells[0] == *top) return view.ScrollToTop(static_cast<int>(row));
}
