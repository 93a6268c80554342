#include "ui/win32/line_list_type_ahead.h"

#include "ui/native_hooks.h"

namespace {

bool StartsWith(std::u16string_view line, char16_t typed, char32_t folded) {
  return !line.empty() && (line.front() == typed || NativeCaseFold(line.front()) == folded);
}

// Moves to the line as the arrow keys do, and says so to the list's window.
void MoveTo(HWND list, size_t line) {
  const auto style = GetWindowLongPtrW(list, GWL_STYLE);
  if (style & LBS_MULTIPLESEL) {
    // Each line is chosen by itself (Space): only the focus moves.
    SendMessageW(list, LB_SETCARETINDEX, line, FALSE);
  } else if (style & LBS_EXTENDEDSEL) {
    SendMessageW(list, LB_SETSEL, FALSE, -1);
    SendMessageW(list, LB_SETSEL, TRUE, static_cast<LPARAM>(line));
    SendMessageW(list, LB_SETANCHORINDEX, line, 0);
    SendMessageW(list, LB_SETCARETINDEX, line, FALSE);
  } else {
    SendMessageW(list, LB_SETCURSEL, line, 0);
  }
  SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
}

}  // namespace

bool LineListTypeAhead(HWND list, const LineListLines& lines, char16_t typed) {
  if (typed < u' ') return false;
  const size_t count = lines.Count();
  const LRESULT caret = SendMessageW(list, LB_GETCARETINDEX, 0, 0);
  const size_t from = caret < 0 ? count - 1 : static_cast<size_t>(caret);
  const char32_t folded = NativeCaseFold(typed);
  for (size_t step = 1; step <= count; ++step) {
    const size_t line = (from + step) % count;
    if (StartsWith(lines.Line(line), typed, folded)) {
      MoveTo(list, line);
      break;
    }
  }
  return true;
}
