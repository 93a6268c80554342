#include "ui/win32/line_list_window.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "ui/win32/line_list_drag.h"
#include "ui/win32/line_list_draw.h"
#include "ui/win32/line_list_tip.h"
#include "ui/win32/line_list_type_ahead.h"
#include "ui/win32/owner_draw.h"

namespace {

// Posted to the list box when lines are appended: handling it tells the count.
constexpr UINT kCountLines = WM_APP + 1;

// The lines of a line list's list box; null once it has left the table (while it is
// destroyed, say).
LineListLines* LinesOf(HWND list) {
  ControlRecord* record = ControlOf(list);
  return record && record->state ? &LineListLinesOf(*record) : nullptr;
}

std::vector<int> Selected(HWND list) {
  if (!LineListSeveralSelectable(list)) {
    const auto line = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
    return line < 0 ? std::vector<int>{} : std::vector<int>{line};
  }
  std::vector<int> lines(static_cast<size_t>(std::max<LRESULT>(SendMessageW(list, LB_GETSELCOUNT, 0, 0), 0)));
  if (lines.empty()) return lines;
  lines.resize(static_cast<size_t>(
      std::max<LRESULT>(SendMessageW(list, LB_GETSELITEMS, lines.size(), reinterpret_cast<LPARAM>(lines.data())), 0)));
  return lines;
}

void Count(HWND list, LineListLines& lines) {
  lines.uncounted = false;
  // A new count starts the list box over (no selection, the first line at the top,
  // not scrolled sideways); what the user sees is put back.
  const LRESULT top = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
  const LRESULT caret = SendMessageW(list, LB_GETCARETINDEX, 0, 0);
  const LRESULT anchor = SendMessageW(list, LB_GETANCHORINDEX, 0, 0);
  const std::vector<int> selected = Selected(list);
  const int sideways = GetScrollPos(list, SB_HORZ);
  SendMessageW(list, LB_SETCOUNT, lines.Count(), 0);
  if (SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0) < lines.Extent())
    SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(lines.Extent()), 0);
  if (Selected(list) != selected) {
    if (!LineListSeveralSelectable(list)) {
      SendMessageW(list, LB_SETCURSEL, selected.empty() ? static_cast<WPARAM>(-1) : selected.front(), 0);
    } else {
      SendMessageW(list, LB_SETSEL, FALSE, -1);
      for (const int line : selected) SendMessageW(list, LB_SETSEL, TRUE, line);
    }
  }
  if (LineListSeveralSelectable(list)) {
    if (anchor >= 0 && SendMessageW(list, LB_GETANCHORINDEX, 0, 0) != anchor)
      SendMessageW(list, LB_SETANCHORINDEX, static_cast<WPARAM>(anchor), 0);
    if (caret >= 0 && SendMessageW(list, LB_GETCARETINDEX, 0, 0) != caret)
      SendMessageW(list, LB_SETCARETINDEX, static_cast<WPARAM>(caret), TRUE);
  }
  if (SendMessageW(list, LB_GETTOPINDEX, 0, 0) != top) SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
  if (GetScrollPos(list, SB_HORZ) != sideways)
    SendMessageW(list, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, sideways), 0);
}

void FontChanged(HWND list, LineListLines& lines) {
  const int height = lines.SetFont(reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
  // A list box that draws its own lines keeps their height when its font changes.
  if (height > 0) SendMessageW(list, LB_SETITEMHEIGHT, 0, height);
  SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(lines.Extent()), 0);
}

// The list box holds no text: the lines' texts are answered here, for whoever asks.
LRESULT TextOf(const LineListLines& lines, UINT message, WPARAM row, LPARAM buffer) {
  if (row >= lines.Count()) return LB_ERR;
  const std::u16string_view line = lines.Line(row);
  if (message == LB_GETTEXT) {
    auto* to = reinterpret_cast<char16_t*>(buffer);
    if (!to) return LB_ERR;
    std::copy(line.begin(), line.end(), to);
    to[line.size()] = u'\0';
  }
  return static_cast<LRESULT>(line.size());
}

LRESULT CALLBACK LineListProc(HWND list, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id, DWORD_PTR data) {
  const auto tip = reinterpret_cast<HWND>(data);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(list, LineListProc, id);
    LineListDragForget(list);
    if (tip) DestroyWindow(tip);
    return DefSubclassProc(list, message, wparam, lparam);
  }
  LineListLines* lines = LinesOf(list);
  if (lines && lines->uncounted) Count(list, *lines);
  if (message == kCountLines) return 0;
  if (LRESULT answer = 0; lines && tip && LineListTipWatch(list, tip, *lines, message, lparam, answer)) return answer;
  if (lines) {
    switch (message) {
      case kDrawItemReflected:
        LineListDraw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam), *lines);
        return TRUE;
      case LB_GETTEXT:
      case LB_GETTEXTLEN:
        return TextOf(*lines, message, wparam, lparam);
      case WM_CHAR:
        if (LineListTypeAhead(list, *lines, static_cast<char16_t>(wparam))) return 0;
        break;
      case WM_SETFONT: {
        const LRESULT result = DefSubclassProc(list, message, wparam, lparam);
        FontChanged(list, *lines);
        return result;
      }
      default:
        break;
    }
  }
  if (LineListDragWatch(list, message, wparam, lparam)) return 0;
  return DefSubclassProc(list, message, wparam, lparam);
}

}  // namespace

bool LineListSeveralSelectable(HWND list) {
  return (GetWindowLongPtrW(list, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

void LineListWindowWatch(HWND list, LineListLines& lines) {
  SetWindowSubclass(list, LineListProc, 0, reinterpret_cast<DWORD_PTR>(LineListTipCreate(list)));
  FontChanged(list, lines);
}

void LineListCountLater(HWND list, LineListLines& lines) {
  if (lines.uncounted) return;
  lines.uncounted = true;
  PostMessageW(list, kCountLines, 0, 0);
}

void LineListCountNow(HWND list, LineListLines& lines) {
  if (lines.uncounted) Count(list, lines);
}
