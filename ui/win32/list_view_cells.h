#pragma once
// Reading and writing the cells of a list view in report view.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

int ListViewColumnCount(HWND list);
int ListViewRowCount(HWND list);
// The text of a cell, read into a buffer of `capacity` characters (the end included);
// empty when the row or column does not exist.
std::u16string ListViewCellText(HWND list, int64_t row, int64_t column, size_t capacity);
void ListViewSetCell(HWND list, int row, int column, std::u16string_view text);
// The index of the first selected row; -1 when none is.
int64_t ListViewFirstSelected(HWND list);
