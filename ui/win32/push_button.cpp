#include "ui/push_button.h"

#include <windows.h>
#include <commctrl.h>

#include "ui/win32/control_create.h"

namespace {

// A click arrives as WM_COMMAND with BN_CLICKED (0); without a Notify routine it
// becomes ControlEvent with that code, DetailLeftClick, as detail.
const ControlOps kPushButtonOps{.type_id = kPushButtonType};

constexpr DWORD kButtonStyle = WS_VISIBLE | WS_GROUP | WS_TABSTOP;

}  // namespace

int64_t PushButtonCreate(int64_t number, int64_t x, int64_t y, int64_t width, int64_t height,
                         const std::u16string& caption, uint32_t flags) {
  const ControlWindow button{WC_BUTTONW, flags | kButtonStyle, 0, caption};
  return ControlCreate(number, button, x, y, width, height, kPushButtonOps).result;
}
