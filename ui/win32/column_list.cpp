#include "ui/column_list.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "ui/column_list_model.h"
#include "ui/events.h"
#include "ui/win32/column_list_events.h"
#include "ui/win32/column_list_state.h"
#include "ui/win32/control_create.h"
#include "ui/win32/dpi_scale.h"
#include "ui/win32/list_view_cells.h"

namespace {

// Header titles are read into a buffer of this many characters, the end included.
constexpr int kTitleBuffer = 4096;

// Writes the text's pieces, split at line feeds, into the row's columns. Pieces beyond
// the last column are dropped; each piece counts for the longest text.
void ColumnListRow(ControlRecord& record, int row, const std::vector<std::u16string_view>& pieces) {
  const int columns = ListViewColumnCount(record.handle);
  for (size_t column = 0; column < pieces.size(); ++column) {
    record.type_data = std::max<int64_t>(record.type_data, static_cast<int64_t>(pieces[column].size()));
    if (column < static_cast<size_t>(columns))
      ListViewSetCell(record.handle, row, static_cast<int>(column), pieces[column]);
  }
}

// Puts a row in; returns its index, -1 when the list view refused it.
int InsertRow(ControlRecord& record, int64_t position, const std::u16string& text) {
  HWND list = record.handle;
  const int count = ListViewRowCount(list);
  const std::vector<std::u16string_view> pieces = ColumnRowPieces(text);
  const int asked = position < 0 || position > count ? count : static_cast<int>(position);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = ColumnListPlace(record, pieces, asked);
  item.pszText = const_cast<wchar_t*>(L"");
  item.lParam = ++ColumnListStateOf(record).rows_added;
  const auto row = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  if (row < 0) return -1;
  ColumnListRow(record, row, pieces);
  ColumnListFitRow(record, row);
  return row;
}

int64_t AddItem(ControlRecord& record, int64_t position, const std::u16string& text, int64_t) {
  InsertRow(record, position, text);
  return 0;
}

void ClearItems(ControlRecord& record) {
  SendMessageW(record.handle, LVM_DELETEALLITEMS, 0, 0);
  record.type_data = 0;
  ColumnListWidthsReset(record);
}

std::u16string HeaderTitle(HWND list, int64_t column) {
  if (column < 0 || column >= ListViewColumnCount(list)) return {};
  const auto header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  std::u16string title(kTitleBuffer, u'\0');
  HDITEMW item{};
  item.mask = HDI_TEXT;
  item.pszText = reinterpret_cast<wchar_t*>(title.data());
  item.cchTextMax = kTitleBuffer;
  if (!SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item))) return {};
  title.resize(std::char_traits<char16_t>::length(title.c_str()));
  return title;
}

std::u16string GetItemText(ControlRecord& record, int64_t row, int64_t column) {
  if (row == -1) return HeaderTitle(record.handle, column);
  // Every cell text is at most the longest text written, so nothing is lost here.
  return ListViewCellText(record.handle, row, column, static_cast<size_t>(record.type_data) + 1);
}

int64_t GetState(ControlRecord& record) { return ListViewFirstSelected(record.handle); }

std::u16string GetText(ControlRecord& record) {
  const int64_t row = GetState(record);
  return row < 0 ? std::u16string() : GetItemText(record, row, 0);
}

// Inserts a column: titles, cells and widths from the position on move one column to
// the right; the new column's cells are empty. A position beyond the last column
// appends; a negative one is refused.
void AddColumn(ControlRecord& record, int64_t position, const std::u16string& title, int64_t width) {
  HWND list = record.handle;
  const int count = ListViewColumnCount(list);
  if (position < 0) return;
  const int at = static_cast<int>(std::min<int64_t>(position, count));
  // The cells that move, read before the list view moves anything of its own.
  const int rows = ListViewRowCount(list);
  std::vector<std::vector<std::u16string>> moving(static_cast<size_t>(rows));
  for (int row = 0; row < rows; ++row)
    for (int column = at; column < count; ++column)
      moving[static_cast<size_t>(row)].push_back(GetItemText(record, row, column));
  std::u16string owned_title = title;
  LVCOLUMNW added{};
  added.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  added.cx = std::max(DpiScaleX(width), 0);
  added.pszText = reinterpret_cast<wchar_t*>(owned_title.data());
  added.iSubItem = at;
  if (SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&added)) != at) return;
  ColumnListState& state = ColumnListStateOf(record);
  state.given_width.insert(state.given_width.begin() + std::min<ptrdiff_t>(at, std::ssize(state.given_width)), -1);
  state.sorts.insert(state.sorts.begin() + std::min<ptrdiff_t>(at, std::ssize(state.sorts)), ColumnSort::kNames);
  if (count > 0 && at <= state.sort_column) ++state.sort_column;
  for (int row = 0; row < rows; ++row) {
    ListViewSetCell(list, row, at, u"");
    const auto& cells = moving[static_cast<size_t>(row)];
    for (size_t moved = 0; moved < cells.size(); ++moved)
      ListViewSetCell(list, row, at + 1 + static_cast<int>(moved), cells[moved]);
  }
  ColumnListShowOrder(record);
  ColumnListFillFirst(record);
}

void UpdateRows(ControlRecord& record, const std::vector<std::u16string>& rows) {
  HWND list = record.handle;
  const EventSuppression quiet;
  const std::u16string top = GetItemText(record, SendMessageW(list, LVM_GETTOPINDEX, 0, 0), 0);
  const int columns = ListViewColumnCount(list);
  std::vector<std::vector<std::u16string>> cells(static_cast<size_t>(ListViewRowCount(list)));
  for (size_t row = 0; row < cells.size(); ++row)
    for (int column = 0; column < columns; ++column)
      cells[row].push_back(GetItemText(record, static_cast<int64_t>(row), column));
  const ColumnListState& state = ColumnListStateOf(record);
  const ColumnListEdit edit = ColumnListEditFor(cells, rows, state.sorted ? state.sort_column : -1);
  for (const ColumnListEdit::PutIn& put : edit.rewrite) {
    ColumnListRow(record, put.replaces, ColumnRowPieces(*put.text));
    ColumnListFitRow(record, put.replaces);
  }
  // Every row that goes or moves is out before any comes in, so that the indexes hold; a
  // row rewritten keeps its selection.
  std::vector<UINT> states(cells.size());
  for (const int row : edit.take_out) {
    states[static_cast<size_t>(row)] =
        static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED | LVIS_FOCUSED));
    SendMessageW(list, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
  }
  for (const ColumnListEdit::PutIn& put : edit.put_in) {
    const int added = InsertRow(record, -1, *put.text);
    if (put.replaces < 0 || added < 0) continue;
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = states[static_cast<size_t>(put.replaces)];
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(added), reinterpret_cast<LPARAM>(&item));
  }
  // The row that stood at the top stays there, whatever came or went above it.
  int still = -1;
  for (int row = 0; !top.empty() && row < ListViewRowCount(list) && still < 0; ++row)
    if (GetItemText(record, row, 0) == top) still = row;
  const auto now = static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
  RECT bounds{LVIR_BOUNDS, 0, 0, 0};
  if (still >= 0 && still != now && SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&bounds)))
    SendMessageW(list, LVM_SCROLL, 0, static_cast<LPARAM>((still - now) * (bounds.bottom - bounds.top)));
}

void Release(ControlRecord& record) { ColumnListForget(record.handle); }

const ControlOps kColumnListOps{
    .type_id = kColumnListType,
    .notify = ColumnListNotify,
    .release = Release,
    .get_state = GetState,
    .get_text = GetText,
    .add_item = AddItem,
    .clear_items = ClearItems,
    .get_item_text = GetItemText,
    .add_column = AddColumn,
};

}  // namespace

ColumnListState& ColumnListStateOf(ControlRecord& record) { return static_cast<ColumnListState&>(*record.state); }

int64_t ColumnListCreate(int64_t number, int64_t x, int64_t y, int64_t width, int64_t height,
                         const std::u16string& title, int64_t title_width, uint32_t flags) {
  // Only the flags the list knows reach its styles: another list view style could make
  // it a list of another kind (one that asks for its texts, say).
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHAREIMAGELISTS | LVS_SHOWSELALWAYS;
  if (!(flags & kColumnListMultipleSelection)) style |= LVS_SINGLESEL;
  const CreatedControl created =
      ControlCreate(number, {WC_LISTVIEWW, style, WS_EX_CLIENTEDGE, u""}, x, y, width, height, kColumnListOps);
  if (!created.record) return 0;
  ControlRecord& record = *created.record;
  auto state = std::make_unique<ColumnListState>();
  state->sorted = flags & kColumnListSorted;
  record.state = std::move(state);
  HWND list = record.handle;
  // Texts cut short show whole in a tip.
  DWORD extended = LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP;
  if (flags & kColumnListMovableColumns) extended |= LVS_EX_HEADERDRAGDROP;
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
  ColumnListWatch(list);
  AddColumn(record, 0, title, title_width);
  return created.result;
}

void ColumnListNumberColumn(int64_t number, int64_t column) {
  ControlRecord* record = ControlFind(number);
  if (!record || record->ops != &kColumnListOps || column < 0 || column >= ListViewColumnCount(record->handle)) return;
  HWND list = record->handle;
  const auto at = static_cast<int>(column);
  ColumnListState& state = ColumnListStateOf(*record);
  state.given_width[static_cast<size_t>(at)] =
      static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(at), 0));
  LVCOLUMNW format{};
  format.mask = LVCF_FMT;
  format.fmt = LVCFMT_RIGHT;
  SendMessageW(list, LVM_SETCOLUMNW, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&format));
  for (int row = 0; row < ListViewRowCount(list); ++row) ColumnListFitRow(*record, row);
  ColumnListFillFirst(*record);
}

void ColumnListUpdate(int64_t number, const std::vector<std::u16string>& rows) {
  ControlRecord* record = ControlFind(number);
  if (record && record->ops == &kColumnListOps) UpdateRows(*record, rows);
}

void ColumnListDimensionsColumn(int64_t number, int64_t column) {
  ControlRecord* record = ControlFind(number);
  if (!record || record->ops != &kColumnListOps || column < 0 || column >= ListViewColumnCount(record->handle)) return;
  ColumnListNumberColumn(number, column);
  ColumnListState& state = ColumnListStateOf(*record);
  state.sorts[static_cast<size_t>(column)] = ColumnSort::kPixelCount;
  // A list sorted by the column already takes the new order.
  if (state.sort_column == column) ColumnListSort(*record);
}
