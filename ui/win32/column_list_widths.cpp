// Number columns: right-aligned, as wide as their widest number; beside them the
// first column takes the width the others leave.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "ui/win32/column_list_state.h"
#include "ui/win32/dpi_scale.h"
#include "ui/win32/list_view_cells.h"

namespace {

// Room beside a cell's text, both sides together, and the least the first column
// keeps; in 1/96 inch.
constexpr int kCellMargins = 16;
constexpr int kLeastFirstWidth = 48;

int ColumnWidth(HWND list, int column) {
  return static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

void SetColumnWidth(HWND list, int column, int width) {
  if (ColumnWidth(list, column) != width)
    SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0));
}

bool IsNumberColumn(const ColumnListState& state, int column) {
  return column >= 0 && static_cast<size_t>(column) < state.given_width.size() &&
         state.given_width[static_cast<size_t>(column)] >= 0;
}

}  // namespace

void ColumnListFitRow(ControlRecord& record, int row) {
  const ColumnListState& state = ColumnListStateOf(record);
  HWND list = record.handle;
  bool widened = false;
  for (int column = 0; column < ListViewColumnCount(list); ++column) {
    if (!IsNumberColumn(state, column)) continue;
    std::u16string text = ListViewCellText(list, row, column, static_cast<size_t>(record.type_data) + 1);
    const LRESULT text_width = SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text.c_str()));
    const int needed = static_cast<int>(text_width) + DpiScaleX(kCellMargins);
    if (needed <= ColumnWidth(list, column)) continue;
    SetColumnWidth(list, column, needed);
    widened = true;
  }
  if (widened) ColumnListFillFirst(record);
}

void ColumnListWidthsReset(ControlRecord& record) {
  const ColumnListState& state = ColumnListStateOf(record);
  for (int column = 0; column < ListViewColumnCount(record.handle); ++column)
    if (IsNumberColumn(state, column))
      SetColumnWidth(record.handle, column, state.given_width[static_cast<size_t>(column)]);
  ColumnListFillFirst(record);
}

void ColumnListFillFirst(ControlRecord& record) {
  const ColumnListState& state = ColumnListStateOf(record);
  HWND list = record.handle;
  const int columns = ListViewColumnCount(list);
  bool numbers_beside = false;
  int others = 0;
  for (int column = 1; column < columns; ++column) {
    numbers_beside = numbers_beside || IsNumberColumn(state, column);
    others += ColumnWidth(list, column);
  }
  if (!numbers_beside) return;
  RECT client{};
  GetClientRect(list, &client);
  SetColumnWidth(list, 0, std::max<int>(client.right - others, DpiScaleX(kLeastFirstWidth)));
}
