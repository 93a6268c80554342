// Numbered top-level windows on the window system.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "tests/ui/test_window_flags.h"
#include "tests/ui/win32/win32_test_support.h"
#include "ui/control_anchor.h"
#include "ui/controls.h"
#include "ui/dpi.h"
#include "ui/events.h"
#include "ui/line_list.h"
#include "ui/push_button.h"
#include "ui/top_level_windows.h"
#include "ui/window_title.h"

namespace {

// The application's window: title bar, close box and sizing border.
constexpr uint32_t kMainFlags = kTestWindowFlags;

int Scaled(int value, int dpi) { return MulDiv(value, dpi, 96); }

RECT ClientOf(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return r;
}

RECT PlaceInParent(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace

TEST(Win32Windows, WindowZeroHasItsClassPropertyStylesAndClientSize) {
  const int64_t made = WindowCreate(0, 40, 30, 600, 400, u"SELECT", kMainFlags);
  const HWND window = WindowHandle(0);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(made, reinterpret_cast<intptr_t>(window));
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  EXPECT_STREQ(name, L"WindowClass_0");
  EXPECT_EQ(reinterpret_cast<intptr_t>(GetPropW(window, L"WK_WindowID")), 1);
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME), WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);
  EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
  const RECT client = ClientOf(window);
  EXPECT_EQ(client.right, Scaled(600, UiDpiX()));
  EXPECT_EQ(client.bottom, Scaled(400, UiDpiY()));
  RECT frame{};
  GetWindowRect(window, &frame);
  EXPECT_EQ(frame.left, Scaled(40, UiDpiX()));
  EXPECT_EQ(frame.top, Scaled(30, UiDpiY()));
  wchar_t title[16] = {};
  GetWindowTextW(window, title, 16);
  EXPECT_STREQ(title, L"SELECT");

  // A new window under the number closes the old one first, and its class goes.
  WindowCreate(0, 40, 30, 200, 100, u"again", kMainFlags);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_NE(WindowHandle(0), window);
  WindowClose(0);
  EXPECT_EQ(WindowHandle(0), nullptr);
  WNDCLASSW unused{};
  EXPECT_FALSE(GetClassInfoW(GetModuleHandleW(nullptr), L"WindowClass_0", &unused));
  WindowClose(0);  // nothing left to close
}

TEST(Win32Windows, TheTitleIsReadAndSetWholeInUnicode) {
  TestWindow window(0);
  const std::u16string title = u"SELECT \u2013 12 images \u00e9\U0001F600";
  WindowSetTitle(0, title);
  EXPECT_EQ(WindowTitle(0), title);
  wchar_t shown[64] = {};
  GetWindowTextW(window.Handle(), shown, 64);
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(shown)), title);
  EXPECT_TRUE(WindowTitle(9).empty());  // no window under the number
}

TEST(Win32Windows, AutoNumberedWindowsAreCentredAndKeptOnTheScreen) {
  const int64_t id = WindowCreate(kAutoNumber, 0, 0, 300, 200, u"", kWindowCentreOnScreen);
  ASSERT_LT(id, -1);
  const HWND centred = WindowHandle(id);
  RECT frame{};
  GetWindowRect(centred, &frame);
  const int screen_w = GetSystemMetrics(SM_CXSCREEN);
  const int screen_h = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_LE(std::abs((frame.left + frame.right) - screen_w), 1);
  EXPECT_LE(std::abs((frame.top + frame.bottom) - screen_h), 1);
  // Flags of only the layer's own bits still give a title bar.
  EXPECT_EQ(GetWindowLongPtrW(centred, GWL_STYLE) & WS_CAPTION, WS_CAPTION);

  // Asked to stand beyond the screen's right edge, a window moves back onto it.
  const int64_t outside = WindowCreate(kAutoNumber, 100000, 20, 200, 100, u"", kMainFlags);
  GetWindowRect(WindowHandle(outside), &frame);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_LE(frame.right, work.right);
  EXPECT_GE(frame.left, work.left);
  WindowCloseAll();
  EXPECT_EQ(WindowHandle(id), nullptr);
  EXPECT_EQ(WindowHandle(outside), nullptr);
}

TEST(Win32Windows, AnchoredControlsFollowTheWindowsSize) {
  TestWindow window(0);
  const HWND fixed = ControlHandle(PushButtonCreate(1, 10, 10, 100, 30, u"fixed", 0));
  const HWND grows = ControlHandle(PushButtonCreate(2, 10, 50, 100, 30, u"grows", 0));
  ControlAnchorSet(2, {0, 0.5, 1, 1});
  const RECT fixed_before = PlaceInParent(fixed);
  const RECT before = PlaceInParent(grows);
  RECT frame{};
  GetWindowRect(window.Handle(), &frame);
  SetWindowPos(window.Handle(), nullptr, 0, 0, frame.right - frame.left + 100, frame.bottom - frame.top + 50,
               SWP_NOMOVE | SWP_NOZORDER);
  const RECT after = PlaceInParent(grows);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top + 25);
  EXPECT_EQ(after.right, before.right + 100);
  EXPECT_EQ(after.bottom, before.bottom + 50);
  const RECT fixed_after = PlaceInParent(fixed);
  EXPECT_TRUE(EqualRect(&fixed_before, &fixed_after));
  const std::vector<int32_t> codes = DrainEvents();
  EXPECT_EQ(std::count(codes.begin(), codes.end(), ResizedEvent), 1);

  // By hand the window cannot be made smaller than it was asked to be.
  MINMAXINFO limits{};
  SendMessageW(window.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMinTrackSize.x, frame.right - frame.left);
  EXPECT_EQ(limits.ptMinTrackSize.y, frame.bottom - frame.top);
}

// After a resize the screen shows each control where it now is: no pixels of a control
// are left behind where another now stands. The main window's layout: buttons that move
// down, over a list that moves down and grows.
TEST(Win32Windows, AfterAResizeNoControlLeavesAnImageOfItselfBehind) {
  WindowCreate(0, 20, 20, 600, 600, u"redraw", kMainFlags);
  const HWND window = WindowHandle(0);
  SettleActive(window);
  PushButtonCreate(1, 10, 315, 100, 30, u"one", 0);
  PushButtonCreate(2, 310, 315, 100, 30, u"two", 0);
  const HWND list = ControlHandle(LineListCreate(3, 10, 350, 500, 200, 0));
  ControlAddItem(3, -1, u"row");
  ControlAnchorSet(1, {0, 0.6, 0, 0.6});
  ControlAnchorSet(2, {0.4, 0.6, 0.4, 0.6});
  ControlAnchorSet(3, {0, 0.6, 1, 1});
  DrainEvents();
  RECT frame{};
  GetWindowRect(window, &frame);
  SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + 300, frame.bottom - frame.top + 100,
               SWP_NOMOVE | SWP_NOZORDER);
  DrainEvents();

  // Below its one row the list is empty: every pixel there shows the list's background,
  // as read back from the screen, not as the list would paint itself now.
  RECT inside{};
  GetClientRect(list, &inside);
  const int row_height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  HDC screen = GetDC(list);
  const COLORREF background = GetPixel(screen, inside.right - 2, inside.bottom - 2);
  int stale = 0;
  for (int y = row_height + 1; y < inside.bottom - 1; y += 2) {
    for (int x = 1; x < inside.right - 1; x += 2) stale += GetPixel(screen, x, y) != background;
  }
  ReleaseDC(list, screen);
  EXPECT_EQ(stale, 0);
  WindowClose(0);
}

TEST(Win32Windows, MovedToAScreenOfAnotherDpiTheLayoutScalesWithIt) {
  TestWindow window(0);
  const HWND button = ControlHandle(PushButtonCreate(1, 10, 20, 100, 30, u"button", 0));
  ControlAnchorSet(1, {0, 0, 1, 0});
  const RECT before = PlaceInParent(button);
  RECT frame{};
  GetWindowRect(window.Handle(), &frame);
  const HFONT font_before = reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0));
  // The window system's report of a move to a screen of twice the DPI, with the frame
  // it suggests.
  const int dpi = UiDpiY() * 2;
  const RECT client = ClientOf(window.Handle());
  RECT suggested{frame.left, frame.top, frame.left + 2 * client.right + 40, frame.top + 2 * client.bottom + 60};
  AdjustWindowRectEx(&suggested, static_cast<DWORD>(GetWindowLongPtrW(window.Handle(), GWL_STYLE)), FALSE, 0);
  OffsetRect(&suggested, frame.left - suggested.left, frame.top - suggested.top);
  SendMessageW(window.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  RECT now{};
  GetWindowRect(window.Handle(), &now);
  EXPECT_TRUE(EqualRect(&now, &suggested));
  // The client grew by 40 x 60 beyond twice its size; the right edge follows that.
  const RECT after = PlaceInParent(button);
  EXPECT_EQ(after.left, 2 * before.left);
  EXPECT_EQ(after.top, 2 * before.top);
  EXPECT_EQ(after.bottom, 2 * before.bottom);
  EXPECT_EQ(after.right, 2 * before.right + 40);
  const HFONT font_after = reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0));
  LOGFONTW small{}, large{};
  GetObjectW(font_before, sizeof(small), &small);
  GetObjectW(font_after, sizeof(large), &large);
  EXPECT_EQ(large.lfHeight, 2 * small.lfHeight);
}
