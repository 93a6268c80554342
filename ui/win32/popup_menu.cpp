#include "ui/popup_menu.h"

#include <windows.h>

#include "ui/control_register.h"

int PopupMenuShow(int64_t control, const std::vector<std::u16string>& items, int checked) {
  const ControlRecord* record = ControlFind(control);
  if (!record || !record->handle) return -1;
  const HWND window = record->handle;
  HMENU menu = CreatePopupMenu();
  if (!menu) return -1;
  for (size_t i = 0; i < items.size(); ++i) {
    // Commands count from 1: TrackPopupMenu's 0 means no choice.
    const UINT flags = MF_STRING | (static_cast<int>(i) == checked ? MF_CHECKED : MF_UNCHECKED);
    AppendMenuW(menu, flags, i + 1, reinterpret_cast<const wchar_t*>(items[i].c_str()));
  }
  POINT at{};
  GetCursorPos(&at);
  RECT place{};
  GetWindowRect(window, &place);
  if (!PtInRect(&place, at)) at = {place.left, place.bottom};
  // The menu closes when the user clicks elsewhere only while its owner is in front.
  SetForegroundWindow(GetAncestor(window, GA_ROOT));
  const int chosen = static_cast<int>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_TOPALIGN,
                                                     at.x, at.y, 0, window, nullptr));
  DestroyMenu(menu);
  return chosen - 1;
}
