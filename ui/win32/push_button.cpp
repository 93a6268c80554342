#include "ui/push_button.h"

#include <windows.h>

#include <commctrl.h>

#include "ui/control_register.h"
#include "ui/events.h"
#include "ui/push_button_ops.h"
#include "ui/win32/control_create.h"

namespace {

// A click arrives as WM_COMMAND with BN_CLICKED.
static_assert(BN_CLICKED == kPushButtonClicked);

constexpr DWORD kButtonStyle = WS_VISIBLE | WS_GROUP | WS_TABSTOP;

bool Held(int key) { return GetKeyState(key) < 0; }

// Enter presses the focused button as Space does, as on every desktop; held down it
// presses it once, and with Ctrl, Alt or Shift it is another key. A context menu asked
// for is the program's to show.
LRESULT CALLBACK EnterProc(HWND button, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id, DWORD_PTR) {
  if (message == WM_NCDESTROY) RemoveWindowSubclass(button, EnterProc, id);
  constexpr LPARAM kRepeated = LPARAM{1} << 30;
  if (message == WM_KEYDOWN && wparam == VK_RETURN && !(lparam & kRepeated) && !Held(VK_CONTROL) && !Held(VK_MENU) &&
      !Held(VK_SHIFT)) {
    SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
    return 0;
  }
  // A right click or the menu key asks the program for the button's menu, if it has one.
  if (message == WM_CONTEXTMENU) {
    ControlEventPost(button, DetailRightClick);
    return 0;
  }
  return DefSubclassProc(button, message, wparam, lparam);
}

}  // namespace

int64_t PushButtonCreate(int64_t number, int64_t x, int64_t y, int64_t width, int64_t height,
                         const std::u16string& caption, uint32_t flags) {
  const ControlWindow button{WC_BUTTONW, flags | kButtonStyle, 0, caption};
  const CreatedControl created = ControlCreate(number, button, x, y, width, height, kPushButtonOps);
  if (created.record) SetWindowSubclass(created.record->handle, EnterProc, 0, 0);
  return created.result;
}
