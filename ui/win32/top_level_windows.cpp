#include "ui/top_level_windows.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>

#include "fs/object_table.h"
#include "ui/control_register.h"
#include "ui/dpi.h"
#include "ui/events.h"
#include "ui/win32/dpi_scale.h"
#include "ui/win32/window_accelerators.h"
#include "ui/win32/window_access.h"
#include "ui/win32/window_destroyed.h"
#include "ui/win32/window_placement.h"
#include "ui/win32/window_procedure.h"
#include "ui/win32/window_record.h"
#include "ui/window_style.h"
#include "ui/window_table.h"

namespace {

constexpr int64_t kTableStep = 16;

std::unique_ptr<ObjectTable<WindowRecord>> g_windows;
// The class icons: the program's icon resource 1, else the system's default.
HICON g_icon = nullptr;
HICON g_small_icon = nullptr;

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

std::wstring ClassName(int64_t number) { return L"WindowClass_" + std::to_wstring(number); }

void WindowRelease(WindowRecord& record) {
  // The record is cleared while the window is destroyed: keep what is needed after.
  const HWND handle = record.handle;
  const int64_t number = record.number;
  if (HWND owner = GetWindow(handle, GW_OWNER)) SetActiveWindow(owner);
  // The controls go first, while the window still stands, so that no control reports
  // anything from a half-destroyed window.
  ControlsDestroyIn(handle);
  DestroyWindow(handle);
  UnregisterClassW(ClassName(number).c_str(), Instance());
  // Whatever the destruction itself posted (activation changes) goes too.
  EventRemoveWindow(number);
}

HICON LoadProgramIcon(int metric_x, int metric_y) {
  return static_cast<HICON>(LoadImageW(Instance(), MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(metric_x),
                                       GetSystemMetrics(metric_y), LR_DEFAULTCOLOR));
}

void RegisterWindowClass(const std::wstring& name) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.style = CS_DBLCLKS;
  window_class.lpfnWndProc = WindowProcedure;
  window_class.hInstance = Instance();
  window_class.hIcon = g_icon ? g_icon : LoadIconW(nullptr, IDI_APPLICATION);
  window_class.hIconSm = g_small_icon;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = name.c_str();
  // A class left from a window destroyed from outside is the same class: a failure to
  // register it again changes nothing.
  RegisterClassExW(&window_class);
}

RECT ScreenOf(HWND window) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info);
  return info.rcMonitor;
}

SIZE OuterSize(HWND window) {
  RECT frame{};
  GetWindowRect(window, &frame);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

void MoveTo(HWND window, POINT at) {
  SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int ShowCommand(uint32_t style, bool activate) {
  if (style & kWindowStartMaximised) return activate ? SW_SHOWMAXIMIZED : SW_SHOWNA;
  if (style & kWindowStartMinimised) return activate ? SW_SHOWMINIMIZED : SW_SHOWMINNOACTIVE;
  return activate ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE;
}

}  // namespace

void UiWindowsInit() {
  g_windows = std::make_unique<ObjectTable<WindowRecord>>(kTableStep, WindowRelease);
  g_icon = LoadProgramIcon(SM_CXICON, SM_CYICON);
  g_small_icon = LoadProgramIcon(SM_CXSMICON, SM_CYSMICON);
}

void UiWindowsEnd() {
  WindowCloseAll();
  g_windows.reset();
  for (HICON* icon : {&g_icon, &g_small_icon}) {
    if (*icon) DestroyIcon(*icon);
    *icon = nullptr;
  }
}

int64_t WindowCreate(int64_t number, int64_t x, int64_t y, int64_t width, int64_t height, const std::u16string& title,
                     uint32_t flags, std::optional<int64_t> owner) {
  if (!g_windows) return 0;
  const auto taken = g_windows->Take(number);
  if (!taken.record) return 0;
  // Looked up after the number was taken: a window that owned itself is gone now.
  const HWND owner_window = owner ? WindowHandle(*owner) : nullptr;
  const std::wstring class_name = ClassName(taken.id);
  RegisterWindowClass(class_name);

  const WindowStyle asked = WindowStyleOf(flags);
  const DWORD ex_style = asked.tool ? WS_EX_TOOLWINDOW : 0;
  // Children are left out of the parent's own painting, so that a background drawn after
  // a resize never covers a control that has already drawn itself.
  const DWORD window_style = asked.style | WS_CLIPCHILDREN;

  const SIZE client{DpiScaleX(width), DpiScaleY(height)};
  RECT outer{0, 0, client.cx, client.cy};
  AdjustWindowRectEx(&outer, window_style, FALSE, ex_style);
  // Where it is made decides the screen it is centred on.
  const WindowPlacement placement = WindowPlacementOf(asked, x, y, owner_window != nullptr);
  const int left = placement.system_position ? CW_USEDEFAULT : DpiScaleX(x);
  const int top = placement.system_position ? CW_USEDEFAULT : DpiScaleY(y);
  const HWND window = CreateWindowExW(ex_style, class_name.c_str(), reinterpret_cast<const wchar_t*>(title.c_str()),
                                      window_style, left, top, outer.right - outer.left, outer.bottom - outer.top,
                                      owner_window, nullptr, Instance(), nullptr);
  if (!window) {
    UnregisterClassW(class_name.c_str(), Instance());
    g_windows->Release(taken.id);
    return 0;
  }
  WindowRecord& record = *taken.record;
  record.handle = window;
  record.number = taken.id;
  record.ready = false;
  record.design = client;
  record.dpi = UiDpiY();
  SetPropW(window, kWindowIdProperty, reinterpret_cast<HANDLE>(static_cast<intptr_t>(taken.id + 1)));

  if (placement.place == WindowPlace::kCentreOnScreen) {
    MoveTo(window, WindowCentred(ScreenOf(window), OuterSize(window)));
  } else if (placement.place == WindowPlace::kCentreOnOwner) {
    RECT owner_frame{};
    GetWindowRect(owner_window, &owner_frame);
    POINT at = WindowCentred(owner_frame, OuterSize(window));
    MoveTo(window, {std::max(at.x, LONG{0}), std::max(at.y, LONG{0})});
  } else if (placement.place == WindowPlace::kAsked) {
    MoveTo(window, {left, top});
    WindowKeepOnScreen(window);
  }
  if (!asked.hidden) ShowWindow(window, ShowCommand(window_style, asked.activate));
  record.state_flag = window_style & (kWindowStartMaximised | kWindowStartMinimised);
  WindowAcceleratorsStart(record);
  if (asked.container) ControlContainerSet(window);
  record.ready = true;
  return number == kAutoNumber ? taken.id : static_cast<int64_t>(reinterpret_cast<intptr_t>(window));
}

void WindowClose(int64_t number) { CloseNumberedWindow(g_windows.get(), number); }

void WindowCloseAll() { CloseNumberedWindow(g_windows.get(), kAutoNumber); }

void WindowDestroyed(HWND window) {
  WindowRecord* record = WindowRecordOfHandle(window);
  RemovePropW(window, kFocusProperty);
  RemovePropW(window, kWindowIdProperty);
  ControlContainerForget(window);
  if (!record) return;
  // Destroyed through its number, the release goes on from here; destroyed any other
  // way (with its owner), the number is freed now.
  const int64_t number = record->number;
  record->handle = nullptr;
  g_windows->Release(number);
  EventRemoveWindow(number);
}

WindowRecord* WindowRecordOf(int64_t number) { return g_windows ? g_windows->Find(number) : nullptr; }

WindowRecord* WindowRecordOfHandle(HWND window) {
  if (!window) return nullptr;
  const auto id = reinterpret_cast<intptr_t>(GetPropW(window, kWindowIdProperty));
  if (id == 0) return nullptr;
  WindowRecord* record = WindowRecordOf(id - 1);
  return record && record->handle == window ? record : nullptr;
}

NativeHandle WindowHandle(int64_t number) {
  const WindowRecord* record = WindowRecordOf(number);
  return record ? record->handle : nullptr;
}

int64_t WindowNumberOf(NativeHandle handle) {
  const HWND desktop = GetDesktopWindow();
  for (HWND h = handle; h && h != desktop; h = GetAncestor(h, GA_PARENT)) {
    const auto id = reinterpret_cast<intptr_t>(GetPropW(h, kWindowIdProperty));
    if (id != 0 && reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(h, GWLP_HINSTANCE)) == Instance()) return id - 1;
  }
  return -1;
}
