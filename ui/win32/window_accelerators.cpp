#include "ui/win32/window_accelerators.h"

#include <utility>

#include "ui/top_level_windows.h"
#include "ui/win32/accelerator_keys.h"

AcceleratorTable::AcceleratorTable(const std::vector<ACCEL>& entries)
    : table_(CreateAcceleratorTableW(const_cast<ACCEL*>(entries.data()), static_cast<int>(entries.size()))) {}

AcceleratorTable::~AcceleratorTable() {
  if (table_) DestroyAcceleratorTable(table_);
}

AcceleratorTable::AcceleratorTable(AcceleratorTable&& other) noexcept : table_(std::exchange(other.table_, nullptr)) {}

AcceleratorTable& AcceleratorTable::operator=(AcceleratorTable&& other) noexcept {
  if (this != &other) {
    if (table_) DestroyAcceleratorTable(table_);
    table_ = std::exchange(other.table_, nullptr);
  }
  return *this;
}

namespace {

// A control that asks for Tab (an editor, say) keeps it: Tab then does not move the
// focus.
bool FocusKeepsTab(const MSG& message) {
  HWND focus = GetFocus();
  if (!focus) return false;
  const LRESULT code = SendMessageW(focus, WM_GETDLGCODE, message.wParam, reinterpret_cast<LPARAM>(&message));
  return code & (DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE);
}

}  // namespace

void WindowAcceleratorsStart(WindowRecord& record) {
  record.accelerator_entries = {{FVIRTKEY, VK_TAB, kFocusNextCommand},
                                {FVIRTKEY | FSHIFT, VK_TAB, kFocusPreviousCommand}};
  record.accelerators = AcceleratorTable(record.accelerator_entries);
}

bool WindowAcceleratorAdd(int64_t number, const std::u16string& keys, int64_t command) {
  WindowRecord* record = WindowRecordOf(number);
  // A command reaches the window as the low word of WM_COMMAND.
  if (!record || command < 0 || command > 0xFFFF || command == kFocusNextCommand || command == kFocusPreviousCommand)
    return false;
  const std::optional<ACCEL> entry = AcceleratorFromKeys(keys, static_cast<WORD>(command));
  if (!entry) return false;
  record->accelerator_entries.push_back(*entry);
  record->accelerators = AcceleratorTable(record->accelerator_entries);
  return true;
}

bool WindowTranslateAccelerator(MSG& message) {
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
  HWND active = GetActiveWindow();
  const WindowRecord* record = WindowRecordOfHandle(active);
  if (!record || !record->accelerators.Get()) return false;
  if (message.wParam == VK_TAB && FocusKeepsTab(message)) return false;
  if (!TranslateAcceleratorW(active, record->accelerators.Get(), &message)) return false;
  // A key used as a command shows the keyboard cues (the focus frame) from now on.
  SendMessageW(active, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
  return true;
}
