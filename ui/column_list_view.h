#pragma once
// What a column list asks of its window system's widget. The shared column list
// (column_list_control.h) holds the rows, their order, the selection kept across an
// update and the widths of number columns; the widget only shows what it is told and
// reports what the user did.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/control_register.h"

// Notification codes of a column list (ControlNotice::code with NoticeKind::kNotify).
inline constexpr int32_t kListClick = -2;        // left click, or the release of a press
inline constexpr int32_t kListDoubleClick = -3;  // left double-click, or Enter on a row
inline constexpr int32_t kListReturn = -4;       // Enter
inline constexpr int32_t kListRightClick = -5;
inline constexpr int32_t kListRightDoubleClick = -6;
inline constexpr int32_t kListItemChanged = -101;  // item: the row; old and new selected
inline constexpr int32_t kListColumnClick = -108;  // item: the column
inline constexpr int32_t kListBeginDrag = -109;
// The left button went down over the list (before anything it starts).
inline constexpr int32_t kListPress = -1000;

// The list's window properties, kept on the widget as the window system keeps them.
enum class ColumnListMark {
  kLastSelected,   // the row most recently selected; -1 after none was found selected
  kClickedColumn,  // the column whose title was clicked last
};

class ColumnListView {
 public:
  virtual ~ColumnListView() = default;

  // The window system's report in the terms of the codes above: item, old and new
  // selection filled in. A change of a row's state that is no change of its selection
  // comes back with neither selected.
  virtual ControlNotice Read(const ControlNotice& notice) const { return notice; }

  // Columns. Width in 1/96 inch; false when the widget refused the column. Cells stay
  // where they stood: the shared list writes them anew.
  virtual bool InsertColumn(int at, const std::u16string& title, int64_t width) = 0;
  // The column shows numbers: right-aligned, its title too; beside a number column the
  // first column takes the width the others leave.
  virtual void ShowAsNumbers(int column) = 0;
  virtual int ColumnWidth(int column) const = 0;  // pixels
  virtual void SetColumnWidth(int column, int width) = 0;
  // The width a cell needs to show the text whole, margins included, in pixels.
  virtual int CellWidth(std::u16string_view text) const = 0;
  virtual void ShowSortArrow(int column, bool descending) = 0;

  // Rows. `cells` holds one text per column. InsertRow is false when the widget
  // refused the row.
  virtual bool InsertRow(int at, std::span<const std::u16string> cells) = 0;
  virtual void RewriteRow(int row, std::span<const std::u16string> cells) = 0;
  // After a run of RewriteRow: the widget measures its rows anew.
  virtual void RewriteDone() {}
  virtual void RemoveRow(int row) = 0;
  virtual void ClearRows() = 0;
  // Row i becomes the row that stood at order[i]; selection and current row go with
  // their rows.
  virtual void Reorder(std::span<const int> order) = 0;

  // Selection, current row and the row shown at the top; -1 for none.
  virtual int FirstSelected() const = 0;
  virtual std::vector<int> SelectedRows() const = 0;
  virtual void Select(int row, bool selected) = 0;
  virtual int CurrentRow() const = 0;
  virtual void SetCurrentRow(int row) = 0;
  virtual int TopRow() const = 0;
  virtual void ScrollToTop(int row) = 0;

  // The list's window properties; an absent one reads as 0.
  virtual void SetMark(ColumnListMark mark, int64_t value) = 0;
  virtual int64_t Mark(ColumnListMark mark) const = 0;
};
