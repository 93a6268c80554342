#include "ui/win32/list_view_cells.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>

int ListViewColumnCount(HWND list) {
  const auto header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  return header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

int ListViewRowCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

std::u16string ListViewCellText(HWND list, int64_t row, int64_t column, size_t capacity) {
  if (row < 0 || row >= ListViewRowCount(list) || column < 0 || column >= ListViewColumnCount(list)) return {};
  capacity = std::clamp<size_t>(capacity, 1, INT_MAX);
  std::u16string text(capacity, u'\0');
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = static_cast<int>(row);
  item.iSubItem = static_cast<int>(column);
  item.pszText = reinterpret_cast<wchar_t*>(text.data());
  item.cchTextMax = static_cast<int>(capacity);
  if (!SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return {};
  // The list view may answer with a text of its own instead of filling the buffer.
  const auto* answer = reinterpret_cast<const char16_t*>(item.pszText);
  if (!answer) return {};
  if (answer != text.data()) {
    const std::u16string_view given(answer);
    return std::u16string(given.substr(0, capacity - 1));
  }
  text.resize(std::char_traits<char16_t>::length(text.c_str()));
  return text;
}

void ListViewSetCell(HWND list, int row, int column, std::u16string_view text) {
  std::u16string owned(text);  // the message wants the text with its end
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = reinterpret_cast<wchar_t*>(owned.data());
  SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

int64_t ListViewFirstSelected(HWND list) {
  return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}
