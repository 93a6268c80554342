#pragma once
// What the layer keeps per numbered window, shared by the files that make up windows.
#include <windows.h>

#include <cstdint>
#include <vector>

// Owns an accelerator table.
class AcceleratorTable {
 public:
  AcceleratorTable() = default;
  explicit AcceleratorTable(const std::vector<ACCEL>& entries);
  ~AcceleratorTable();
  AcceleratorTable(AcceleratorTable&& other) noexcept;
  AcceleratorTable& operator=(AcceleratorTable&& other) noexcept;
  HACCEL Get() const { return table_; }

 private:
  HACCEL table_ = nullptr;
};

// Window properties: the number + 1 (0 would read as no property), and the control that
// had the focus when the window was last deactivated.
inline constexpr wchar_t kWindowIdProperty[] = L"WK_WindowID";
inline constexpr wchar_t kFocusProperty[] = L"WK_Focus";

struct WindowRecord {
  HWND handle = nullptr;
  int64_t number = 0;
  // Tab and Shift+Tab first, then the shortcuts of WindowAcceleratorAdd; the table is
  // built from them.
  std::vector<ACCEL> accelerator_entries;
  AcceleratorTable accelerators;
  bool state_flag = false;  // minimised or maximised
  bool ready = false;       // move and size events only once creation has finished
  SIZE design = {};         // the client size asked for, in pixels
  int dpi = 0;              // the DPI the window's layout is for
  bool InUse() const { return handle != nullptr; }
};

// The record of an open window; null for a number without one.
WindowRecord* WindowRecordOf(int64_t number);
// The record of the window with this handle (numbered windows only); null for others.
WindowRecord* WindowRecordOfHandle(HWND window);
