// Tying a control's window to its number, and what the shared control code needs of
// the window system.
#include "ui/control_register.h"

#include <windows.h>

#include <commctrl.h>
#include <ole2.h>
#include <oleacc.h>

#include <algorithm>

#include "fs/object_table.h"
#include "ui/controls.h"
#include "ui/dpi.h"
#include "ui/events.h"
#include "ui/native_hooks.h"
#include "ui/win32/control_font.h"
#include "ui/win32/window_access.h"
#include "ui/win32/window_busy_cursor.h"
#include "ui/win32/window_record.h"

namespace {

constexpr wchar_t kIdProperty[] = L"WK_ID";
constexpr UINT_PTR kSubclassId = 1;
constexpr LONG_PTR kNoNumber = -1;

// Every control's procedure, in front of its class's own.
LRESULT CALLBACK ControlProcedure(HWND control, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
  if (message == WM_SETCURSOR && WindowBusyCursorShown()) return TRUE;
  if (message != WM_NCDESTROY) return DefSubclassProc(control, message, wparam, lparam);
  // Destroyed with its window (not through the table): its record goes after it.
  const ControlRecord* record = ControlOf(control);
  const int64_t number = record ? record->number : 0;
  RemoveWindowSubclass(control, ControlProcedure, kSubclassId);
  RemovePropW(control, kIdProperty);
  SetWindowLongPtrW(control, GWLP_ID, kNoNumber);
  const LRESULT result = DefSubclassProc(control, message, wparam, lparam);
  if (record) ControlGone(number, control);
  return result;
}

}  // namespace

void UiCommonInit() {
  INITCOMMONCONTROLSEX classes{};
  classes.dwSize = sizeof(classes);
  classes.dwICC = ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_TAB_CLASSES |
                  ICC_HOTKEY_CLASS | ICC_DATE_CLASSES | ICC_USEREX_CLASSES | ICC_INTERNET_CLASSES;
  InitCommonControlsEx(&classes);
  // The shell's names and icons, and accessibility annotations, need COM on this thread.
  OleInitialize(nullptr);
}

void NativeControlTie(NativeHandle control, int64_t id) {
  SetWindowSubclass(control, ControlProcedure, kSubclassId, 0);
  SetWindowLongPtrW(control, GWLP_ID, static_cast<LONG_PTR>(id));
  SetPropW(control, kIdProperty, reinterpret_cast<HANDLE>(static_cast<intptr_t>(id)));
  const WindowRecord* owner = WindowRecordOfHandle(GetAncestor(control, GA_ROOT));
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(ControlFont(owner ? owner->dpi : UiDpiY())), TRUE);
  // The first control that takes the focus by Tab takes it from its window.
  if (HWND window = GetParent(control);
      window && GetFocus() == window && (GetWindowLongPtrW(control, GWL_STYLE) & WS_TABSTOP))
    SetFocus(control);
}

ControlRecord* ControlOf(NativeHandle control) {
  if (!control) return nullptr;
  ControlRecord* record = ControlFind(GetWindowLongPtrW(control, GWLP_ID));
  return record && record->handle == control ? record : nullptr;
}

bool NativeIsInside(NativeHandle window, NativeHandle control) { return IsChild(window, control) != FALSE; }

void NativeDestroy(NativeHandle control) {
  // Released through the table: the control procedure has nothing left to do.
  RemoveWindowSubclass(control, ControlProcedure, kSubclassId);
  RemovePropW(control, kIdProperty);
  SetWindowLongPtrW(control, GWLP_ID, kNoNumber);
  DestroyWindow(control);
}

std::u16string NativeText(NativeHandle control) {
  std::u16string text(static_cast<size_t>(std::max(GetWindowTextLengthW(control), 0)), u'\0');
  if (text.empty()) return text;
  const int length =
      GetWindowTextW(control, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size() + 1));
  text.resize(static_cast<size_t>(std::max(length, 0)));
  return text;
}

void NativeSetAccessibleName(NativeHandle control, const std::u16string& name) {
  IAccPropServices* services = nullptr;
  if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                              reinterpret_cast<void**>(&services))))
    return;
  services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME,
                           reinterpret_cast<const wchar_t*>(name.c_str()));
  services->Release();
}
