#pragma once
// Column lists: rows of text split into columns under a header.
#include <cstdint>
#include <string>
#include <vector>

// Flag bits of ColumnListCreate.
inline constexpr uint32_t kColumnListMultipleSelection = 0x4;  // else at most one row
inline constexpr uint32_t kColumnListMovableColumns = 0x10000000;
// Rows stand sorted by their first column, as people read names (numbers by value, case
// ignored), wherever they are added; a click on a column title sorts by that column,
// a second click on it reverses the order.
inline constexpr uint32_t kColumnListSorted = 0x10;

// A list at x, y of the current window's client area (1/96 inch) with one column,
// titled, of the given width. Returns a non-zero handle for a number, the id for
// kAutoNumber, 0 without a window to put it in.
//
// Through the generic operations: ControlAddItem adds a row whose text is split at
// line feeds into its columns; ControlItemText of row -1 is a column's title;
// ControlGetState is the first selected row or -1; ControlGetText that row's first
// column. Events (details): click 0, right click 1, double-click 2, right
// double-click 3, header click 8, selection change 768, drag start 14002.
int64_t ColumnListCreate(int64_t number, int64_t x, int64_t y, int64_t width, int64_t height,
                         const std::u16string& title, int64_t title_width, uint32_t flags);

// Marks a column as one of numbers: right-aligned, and widened as rows come to show its
// widest number whole (back to its own width when the list is cleared). The first
// column then takes the width the others leave, so that the numbers stay in sight;
// its texts are cut short with "…" where they do not fit, and show whole in a tooltip.
void ColumnListNumberColumn(int64_t number, int64_t column);

// Marks a column as one of picture dimensions, "640 x 480": a number column that sorts
// by the pixel count, width times height. Cells that are no dimensions (an empty one,
// say) sort before every picture; pictures of one pixel count go by their first column.
void ColumnListDimensionsColumn(int64_t number, int64_t column);

// Brings the rows to these texts (each as ControlAddItem takes it), matched to the rows
// shown by their first column: a row whose name is gone is removed, one whose other
// columns changed is rewritten (and moves to its place in a sorted list), a new name
// comes in at its place. The rows that stay keep their selection and the list its scroll
// position; nothing of this is reported as events.
void ColumnListUpdate(int64_t number, const std::vector<std::u16string>& rows);
