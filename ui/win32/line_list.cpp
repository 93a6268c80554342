#include "ui/line_list.h"

#include "ui/line_list_notify.h"
#include "ui/win32/control_create.h"
#include "ui/win32/line_list_drag.h"
#include "ui/win32/line_list_lines.h"
#include "ui/win32/line_list_window.h"

namespace {

int64_t AddItem(ControlRecord& record, int64_t position, const std::u16string& text, int64_t) {
  HWND list = record.handle;
  LineListLines& lines = LineListLinesOf(record);
  // A position beyond the end appends, as -1 does.
  if (position < 0 || static_cast<uint64_t>(position) >= lines.Count()) {
    lines.Insert(lines.Count(), text);
    LineListCountLater(list, lines);
    return 0;
  }
  // A line put in between moves the selection below it down: the list box does that.
  LineListCountNow(list, lines);
  lines.Insert(static_cast<size_t>(position), text);
  if (SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(position), 0) < 0)
    lines.Erase(static_cast<size_t>(position));
  else if (SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0) < lines.Extent())
    SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(lines.Extent()), 0);
  return 0;
}

void ClearItems(ControlRecord& record) {
  LineListLinesOf(record).Clear();
  SendMessageW(record.handle, LB_RESETCONTENT, 0, 0);
  SendMessageW(record.handle, LB_SETHORIZONTALEXTENT, 0, 0);
}

std::u16string GetItemText(ControlRecord& record, int64_t row, int64_t) {
  if (row < 0) return {};
  return std::u16string(LineListLinesOf(record).Line(static_cast<uint64_t>(row)));
}

int64_t GetState(ControlRecord& record) {
  HWND list = record.handle;
  if (!LineListSeveralSelectable(list)) {
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
  // make it a list of another kind. The list box keeps no data of its own: it draws
  // its lines from the record's LineListLines.
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_GROUP | WS_TABSTOP | LBS_NOINTEGRALHEIGHT |
                      LBS_NODATA | LBS_OWNERDRAWFIXED | LBS_NOTIFY |
                      (flags & (kLineListMultipleSelection | kLineListExtendedSelection));
  const CreatedControl created =
      ControlCreate(number, {L"ListBox", style, WS_EX_CLIENTEDGE, u""}, x, y, width, height, kLineListOps);
  if (!created.record) return 0;
  LineListWindowWatch(created.record->handle, LineListLinesOf(*created.record));
  return created.result;
}
