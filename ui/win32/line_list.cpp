#include "ui/line_list.h"

#include <algorithm>
#include <climits>

#include "ui/line_list_notify.h"
#include "ui/win32/control_create.h"
#include "ui/win32/line_list_drag.h"

namespace {

// Room left after a line's text when the list scrolls sideways, in pixels.
constexpr int kTextEndMargin = 8;

bool SeveralSelectable(HWND list) {
  return (GetWindowLongPtrW(list, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

int64_t LineCount(HWND list) { return SendMessageW(list, LB_GETCOUNT, 0, 0); }

// Lets the list scroll sideways far enough to show the text whole.
void ShowWidthOf(HWND list, const std::u16string& text) {
  HDC context = GetDC(list);
  if (!context) return;
  const HGDIOBJ font = SelectObject(context, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
  SIZE extent{};
  GetTextExtentPoint32W(context, reinterpret_cast<const wchar_t*>(text.c_str()),
                        static_cast<int>(std::min<size_t>(text.size(), INT_MAX)), &extent);
  SelectObject(context, font);
  ReleaseDC(list, context);
  const int needed = extent.cx + kTextEndMargin;
  if (needed > SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0))
    SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(needed), 0);
}

int64_t AddItem(ControlRecord& record, int64_t position, const std::u16string& text, int64_t) {
  HWND list = record.handle;
  // A position beyond the end appends, as -1 does.
  const WPARAM at =
      position < 0 || position > LineCount(list) ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(position);
  if (SendMessageW(list, LB_INSERTSTRING, at, reinterpret_cast<LPARAM>(text.c_str())) >= 0) ShowWidthOf(list, text);
  return 0;
}

void ClearItems(ControlRecord& record) {
  SendMessageW(record.handle, LB_RESETCONTENT, 0, 0);
  SendMessageW(record.handle, LB_SETHORIZONTALEXTENT, 0, 0);
}

std::u16string GetItemText(ControlRecord& record, int64_t row, int64_t) {
  HWND list = record.handle;
  if (row < 0 || row >= LineCount(list)) return {};
  const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
  if (length < 0) return {};
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  const LRESULT read = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.data()));
  text.resize(read < 0 ? 0 : std::min<size_t>(static_cast<size_t>(read), static_cast<size_t>(length)));
  return text;
}

int64_t GetState(ControlRecord& record) {
  HWND list = record.handle;
  if (!SeveralSelectable(list)) {
    const LRESULT line = SendMessageW(list, LB_GETCURSEL, 0, 0);
    return line < 0 ? -1 : line;
  }
  int first = -1;
  return SendMessageW(list, LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&first)) == 1 ? first : -1;
}

std::u16string GetText(ControlRecord& record) { return GetItemText(record, GetState(record), 0); }

static_assert(LBN_SELCHANGE == kLineSelectionChange && LBN_DBLCLK == kLineDoubleClick);

const ControlOps kLineListOps{
    .type_id = kLineListType,
    .notify = LineListNotify,
    .release = LineListDragForget,
    .get_state = GetState,
    .get_text = GetText,
    .add_item = AddItem,
    .clear_items = ClearItems,
    .get_item_text = GetItemText,
};

}  // namespace

int64_t LineListCreate(int64_t number, int64_t x, int64_t y, int64_t width, int64_t height, uint32_t flags) {
  // Of the flags, only the selection styles reach the list box: another style could
  // make it a list of another kind (one that draws its own lines, say).
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_GROUP | WS_TABSTOP |
                      LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS | LBS_NOTIFY |
                      (flags & (kLineListMultipleSelection | kLineListExtendedSelection));
  const CreatedControl created =
      ControlCreate(number, {L"ListBox", style, WS_EX_CLIENTEDGE, u""}, x, y, width, height, kLineListOps);
  if (!created.record) return 0;
  LineListDragWatch(created.record->handle);
  return created.result;
}
