#include "ui/control_shortcut.h"

#include <windows.h>

#include <commctrl.h>

#include "ui/control_register.h"
#include "ui/events.h"
#include "ui/win32/accelerator_keys.h"
#include "ui/win32/window_access.h"

namespace {

bool Held(int key) { return GetKeyState(key) < 0; }

// The entry's key with exactly its modifiers held.
bool Matches(const ACCEL& entry, WPARAM key) {
  return key == entry.key && Held(VK_CONTROL) == ((entry.fVirt & FCONTROL) != 0) &&
         Held(VK_SHIFT) == ((entry.fVirt & FSHIFT) != 0) && Held(VK_MENU) == ((entry.fVirt & FALT) != 0);
}

// One subclass per shortcut: its id is the command, its data the key and modifiers.
LRESULT CALLBACK ShortcutProcedure(HWND control, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR command,
                                   DWORD_PTR data) {
  const ACCEL entry{static_cast<BYTE>(data >> 16), static_cast<WORD>(data & 0xFFFF), static_cast<WORD>(command)};
  constexpr LPARAM kRepeated = LPARAM{1} << 30;
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (!Matches(entry, wparam)) break;
      if (!(lparam & kRepeated)) EventPost(CommandEvent, static_cast<int64_t>(command), WindowNumberOf(control), 0);
      return 0;
    case WM_CHAR:
    case WM_SYSCHAR:
      // The character the key makes goes no further either (a list would search for it).
      if (wparam == MapVirtualKeyW(entry.key, MAPVK_VK_TO_CHAR) && Matches(entry, entry.key)) return 0;
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(control, ShortcutProcedure, command);
      break;
    default:
      break;
  }
  return DefSubclassProc(control, message, wparam, lparam);
}

}  // namespace

bool ControlShortcutAdd(int64_t number, const std::u16string& keys, int64_t command) {
  const ControlRecord* record = ControlFind(number);
  // The command goes with the key in the subclass's id, the key and modifiers in its data.
  if (!record || command < 0 || command > 0xFFFF) return false;
  const std::optional<ACCEL> entry = AcceleratorFromKeys(keys, static_cast<WORD>(command));
  if (!entry) return false;
  const auto data = static_cast<DWORD_PTR>((DWORD_PTR{entry->fVirt} << 16) | entry->key);
  return SetWindowSubclass(record->handle, ShortcutProcedure, static_cast<UINT_PTR>(command), data);
}
