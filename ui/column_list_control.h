#pragma once
// The column list written once: its rows, their order, number columns and what the
// user's actions report, over a ColumnListView that each window system provides. Each
// system's ColumnListCreate makes its widget, registers it with kColumnListOps and
// hands its view to ColumnListStart.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/column_list_view.h"
#include "ui/column_order.h"
#include "ui/control_register.h"

struct ColumnListControl : ControlTypeState {
  explicit ColumnListControl(std::unique_ptr<ColumnListView> shown, bool sorted_list)
      : view(std::move(shown)), sorted(sorted_list) {}

  struct Row {
    std::vector<std::u16string> cells;  // one per column
    uint64_t added = 0;                 // rows alike in the order go by this
  };
  struct Column {
    std::u16string title;
    int given_width = -1;  // pixels, for a number column; -1 for others
    ColumnSort sort = ColumnSort::kNames;
  };

  std::unique_ptr<ColumnListView> view;
  std::vector<Column> columns;
  std::vector<Row> rows;  // in the order shown
  uint64_t rows_added = 0;
  // Rows stand sorted by sort_column, descending or not.
  bool sorted = false;
  int sort_column = 0;
  bool descending = false;
  // From a drag's start until the next press: the click that ends a drag is none.
  bool dragged = false;
};

extern const ControlOps kColumnListOps;

// The state of a column list's control; null for anything else.
ColumnListControl* ColumnListOf(ControlRecord* record);
// Gives a registered column list its state and its first column.
void ColumnListStart(ControlRecord& record, std::unique_ptr<ColumnListView> view, uint32_t flags,
                     const std::u16string& title, int64_t title_width);

// The operations below are the table's slots, over the state alone.
int64_t ColumnListAddRow(ColumnListControl& list, int64_t position, const std::u16string& text);
void ColumnListClear(ColumnListControl& list);
std::u16string ColumnListCellText(const ColumnListControl& list, int64_t row, int64_t column);
void ColumnListAddColumn(ColumnListControl& list, int64_t position, const std::u16string& title, int64_t width);
// Makes the column a number column; with a sort, one whose cells sort that way.
void ColumnListSetNumbers(ColumnListControl& list, int64_t column, std::optional<ColumnSort> sort);
// Brings the rows to the texts as ColumnListUpdate says.
void ColumnListUpdateRows(ColumnListControl& list, const std::vector<std::u16string>& rows);
// Sorts by the column: ascending, or reversed when it already sorts the list.
void ColumnListSortBy(ColumnListControl& list, int column);
// The details to post for a report of the widget, in order, the marks set as they go;
// none for a report the list leaves to the window system.
std::optional<std::vector<int64_t>> ColumnListReact(ColumnListControl& list, const ControlNotice& notice);
