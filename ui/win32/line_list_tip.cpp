#include "ui/win32/line_list_tip.h"

#include <commctrl.h>

namespace {

TOOLINFOW ToolOf(HWND list) {
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = list;
  tool.lpszText = LPSTR_TEXTCALLBACKW;
  GetClientRect(list, &tool.rect);
  return tool;
}

// The line under the pointer; -1 for none.
int64_t LineUnderPointer(HWND list, size_t count) {
  POINT at{};
  if (!GetCursorPos(&at) || !ScreenToClient(list, &at)) return -1;
  RECT client{};
  GetClientRect(list, &client);
  const LRESULT height = SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
  if (height <= 0 || !PtInRect(&client, at)) return -1;
  const auto line =
      static_cast<uint64_t>(SendMessageW(list, LB_GETTOPINDEX, 0, 0)) + static_cast<uint64_t>(at.y / height);
  return line < count ? static_cast<int64_t>(line) : -1;
}

}  // namespace

HWND LineListTipCreate(HWND list) {
  HWND tip =
      CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, list, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!tip) return nullptr;
  TOOLINFOW tool = ToolOf(list);
  SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  // Long lines wrap in the tip rather than run off the screen.
  SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, GetSystemMetrics(SM_CXSCREEN) / 2);
  return tip;
}

bool LineListTipWatch(HWND list, HWND tip, LineListLines& lines, UINT message, LPARAM lparam, LRESULT& result) {
  switch (message) {
    case WM_SIZE: {
      TOOLINFOW tool = ToolOf(list);
      SendMessageW(tip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
      return false;
    }
    case WM_MOUSEMOVE: {
      // One tool covers the list: on another line, the tip goes and asks again.
      const int64_t line = LineUnderPointer(list, lines.Count());
      if (line != lines.tip_line) SendMessageW(tip, TTM_POP, 0, 0);
      lines.tip_line = line;
      return false;
    }
    case WM_NOTIFY: {
      auto* asked = reinterpret_cast<NMTTDISPINFOW*>(lparam);
      if (!asked || asked->hdr.hwndFrom != tip || asked->hdr.code != TTN_GETDISPINFOW) return false;
      lines.tip.clear();
      const int64_t line = LineUnderPointer(list, lines.Count());
      if (line >= 0) {
        const std::u16string_view text = lines.Line(static_cast<size_t>(line));
        RECT client{};
        GetClientRect(list, &client);
        const int scrolled = GetScrollPos(list, SB_HORZ);
        // Drawn one pixel in from the line's left edge.
        if (scrolled > 0 || lines.TextWidth(text) + 1 > client.right) lines.tip = text;
      }
      asked->lpszText = reinterpret_cast<wchar_t*>(lines.tip.data());
      asked->hinst = nullptr;
      result = 0;
      return true;
    }
    default:
      return false;
  }
}
