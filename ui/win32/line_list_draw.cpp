#include "ui/win32/line_list_draw.h"

#include <algorithm>
#include <climits>

void LineListDraw(const DRAWITEMSTRUCT& item, const LineListLines& lines) {
  const HDC context = item.hDC;
  const bool focus_shown = (item.itemState & ODS_NOFOCUSRECT) == 0;
  // The focus alone comes and goes by the same rectangle drawn inverted.
  if (item.itemAction == ODA_FOCUS) {
    if (focus_shown) DrawFocusRect(context, &item.rcItem);
    return;
  }
  if (item.itemID >= lines.Count()) return;
  const std::u16string_view text = lines.Line(item.itemID);
  // The colours are the list box's own (grey text when it is disabled), the system's
  // highlight for a selected line.
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const COLORREF text_colour = selected ? SetTextColor(context, GetSysColor(COLOR_HIGHLIGHTTEXT)) : CLR_INVALID;
  const COLORREF back_colour = selected ? SetBkColor(context, GetSysColor(COLOR_HIGHLIGHT)) : CLR_INVALID;
  const HGDIOBJ font = lines.Font() ? SelectObject(context, lines.Font()) : nullptr;
  ExtTextOutW(context, item.rcItem.left + 1, item.rcItem.top, ETO_OPAQUE | ETO_CLIPPED, &item.rcItem,
              reinterpret_cast<const wchar_t*>(text.data()), static_cast<UINT>(std::min<size_t>(text.size(), INT_MAX)),
              nullptr);
  if (font) SelectObject(context, font);
  if (selected) {
    SetTextColor(context, text_colour);
    SetBkColor(context, back_colour);
  }
  if ((item.itemState & ODS_FOCUS) && focus_shown) DrawFocusRect(context, &item.rcItem);
}
