#pragma once
// The order of a sorted column list's rows, the same on every window system: by the
// column that sorts the list, rows alike there by their first column.
#include <string_view>

// What a column's cells sort by.
enum class ColumnSort {
  kNames,       // as people read names (see natural_order.h); numbers by value
  kPixelCount,  // picture dimensions, "640 x 480", by width times height
};

// Negative, 0 or positive as row a sorts before, with or after row b in the ascending
// order of a column sorted by `sort`: `*_cell` is the row's text in that column,
// `*_first` in the first column. In a kPixelCount column a cell that is no dimensions
// (empty, say) sorts before every picture, and pictures of one pixel count go by their
// first column.
int ColumnRowsCompare(ColumnSort sort, std::u16string_view a_cell, std::u16string_view a_first,
                      std::u16string_view b_cell, std::u16string_view b_first);
