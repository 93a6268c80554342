#pragma once
// What a column list keeps beside its list view: the order its rows stand in and the
// columns that show numbers.
#include <windows.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "ui/column_order.h"
#include "ui/control_register.h"

struct ColumnListState : ControlTypeState {
  // Rows stand sorted by sort_column, descending or not.
  bool sorted = false;
  int sort_column = 0;
  bool descending = false;
  // Per column: the width in pixels a number column was given; -1 for other columns.
  std::vector<int> given_width;
  // Per column: what its cells sort by.
  std::vector<ColumnSort> sorts;
  // Each row's parameter counts the rows added, so that rows that sort alike keep the
  // order they came in.
  LPARAM rows_added = 0;
};

// The state of a column list's record.
ColumnListState& ColumnListStateOf(ControlRecord& record);

// The row at which a new row with these pieces goes: at the position asked for, or
// in a sorted list at its place in the order shown.
int ColumnListPlace(ControlRecord& record, const std::vector<std::u16string_view>& pieces, int position);
// Sorts by the clicked column: ascending, or reversed when it already sorts the list.
void ColumnListSortBy(ControlRecord& record, int column);
// Puts the rows of a sorted list in the order its state says (after that changed).
void ColumnListSort(ControlRecord& record);
// Shows the order on the header: an arrow on the column that sorts a sorted list.
void ColumnListShowOrder(ControlRecord& record);

// A row has been written: its number columns are widened to show it whole.
void ColumnListFitRow(ControlRecord& record, int row);
// The number columns go back to the widths they were given.
void ColumnListWidthsReset(ControlRecord& record);
// With a number column beside it, the first column takes what the others leave of the
// list's width.
void ColumnListFillFirst(ControlRecord& record);
