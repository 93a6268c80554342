// Tab, Shift+Tab and the shortcuts of a window.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/ui/win32/win32_test_support.h"
#include "ui/events.h"
#include "ui/push_button.h"
#include "ui/top_level_windows.h"
#include "ui/win32/accelerator_keys.h"

namespace {

constexpr int64_t kWindow = 0;

// Takes what the posted keys bring.
void Press(WPARAM key) {
  PostKey(key);
  DrainEvents();
}

// The commands of the CommandEvents the posted keys gave.
std::vector<int64_t> Commands() {
  std::vector<int64_t> commands;
  for (int rounds = 0; rounds < 1000; ++rounds) {
    const int32_t code = EventWait(kSettleMs);
    if (code == 0) break;
    if (code == CommandEvent) commands.push_back(EventControl());
  }
  return commands;
}

}  // namespace

TEST(Win32Keys, TabMovesThroughTheControlsInCreationOrderAndWraps) {
  TestWindow window(kWindow);
  const HWND first = ControlHandle(PushButtonCreate(1, 10, 10, 80, 30, u"1", 0));
  const HWND second = ControlHandle(PushButtonCreate(2, 100, 10, 80, 30, u"2", 0));
  const HWND third = ControlHandle(PushButtonCreate(3, 190, 10, 80, 30, u"3", 0));
  const HWND fourth = ControlHandle(PushButtonCreate(4, 280, 10, 80, 30, u"4", 0));
  ASSERT_TRUE(SettleActive(window.Handle()));
  // The first control took the focus from its window.
  EXPECT_EQ(GetFocus(), first);
  EnableWindow(third, FALSE);  // neither disabled nor hidden controls take it
  ShowWindow(fourth, SW_HIDE);
  Press(VK_TAB);
  EXPECT_EQ(GetFocus(), second);
  Press(VK_TAB);
  EXPECT_EQ(GetFocus(), first);
  SetKeyHeld(VK_SHIFT, true);
  Press(VK_TAB);
  SetKeyHeld(VK_SHIFT, false);
  EXPECT_EQ(GetFocus(), second);
  // The focus comes back to where it was when the window is activated again.
  SendMessageW(window.Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
  SetFocus(nullptr);
  SendMessageW(window.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(GetFocus(), second);
}

TEST(Win32Keys, ShortcutPostsItsCommand) {
  TestWindow window(kWindow);
  PushButtonCreate(1, 10, 10, 80, 30, u"1", 0);
  EXPECT_TRUE(WindowAcceleratorAdd(kWindow, u"Ctrl+Q", 7));
  EXPECT_TRUE(WindowAcceleratorAdd(kWindow, u"F5", 8));
  ASSERT_TRUE(SettleActive(window.Handle()));
  SetKeyHeld(VK_CONTROL, true);
  PostKey('Q');
  EXPECT_EQ(EventWait(0), kKeyDownMessage);
  EXPECT_EQ(EventWait(0), CommandEvent);
  EXPECT_EQ(EventControl(), 7);
  EXPECT_EQ(EventWindow(), kWindow);
  EXPECT_TRUE(Commands().empty());
  SetKeyHeld(VK_CONTROL, false);
  // Without Ctrl, Q is the control's own key.
  PostKey('Q');
  EXPECT_TRUE(Commands().empty());
  PostKey(VK_F5);
  EXPECT_EQ(Commands(), std::vector<int64_t>{8});

  EXPECT_FALSE(WindowAcceleratorAdd(kWindow, u"Ctrl+", 9));
  EXPECT_FALSE(WindowAcceleratorAdd(kWindow, u"Hyper+Q", 9));
  EXPECT_FALSE(WindowAcceleratorAdd(kWindow, u"Q", 70000));  // beyond a command's 16 bits
  EXPECT_FALSE(WindowAcceleratorAdd(5, u"Q", 9));            // no such window
}

TEST(Win32Keys, SpaceAndEnterPressTheFocusedButton) {
  TestWindow window(kWindow);
  PushButtonCreate(1, 10, 10, 80, 30, u"1", 0);
  const HWND second = ControlHandle(PushButtonCreate(2, 100, 10, 80, 30, u"2", 0));
  ASSERT_TRUE(SettleActive(window.Handle()));
  SetFocus(second);
  const std::vector<SeenControlEvent> pressed{{2, kWindow, DetailLeftClick}};
  PostKey(VK_SPACE);
  EXPECT_EQ(DrainControlEvents(), pressed);
  PostKey(VK_RETURN);
  EXPECT_EQ(DrainControlEvents(), pressed);
  // Held down, Enter presses once; with Ctrl it is another key.
  PostMessageW(second, WM_KEYDOWN, VK_RETURN, 1);
  PostMessageW(second, WM_KEYDOWN, VK_RETURN, 0x40000001);
  PostMessageW(second, WM_KEYUP, VK_RETURN, 0xC0000001);
  EXPECT_EQ(DrainControlEvents(), pressed);
  SetKeyHeld(VK_CONTROL, true);
  PostKey(VK_RETURN);
  EXPECT_TRUE(DrainControlEvents().empty());
  SetKeyHeld(VK_CONTROL, false);
}

TEST(AcceleratorKeys, ReadsModifiersAndKeyNames) {
  const auto entry = [](const std::u16string& keys) { return AcceleratorFromKeys(keys, 1); };
  ASSERT_TRUE(entry(u"Ctrl+Shift+F12"));
  EXPECT_EQ(entry(u"Ctrl+Shift+F12")->fVirt, FVIRTKEY | FCONTROL | FSHIFT);
  EXPECT_EQ(entry(u"Ctrl+Shift+F12")->key, VK_F12);
  EXPECT_EQ(entry(u"alt+enter")->key, VK_RETURN);
  EXPECT_EQ(entry(u"alt+enter")->fVirt, FVIRTKEY | FALT);
  EXPECT_EQ(entry(u"Ctrl++")->key, VK_OEM_PLUS);
  EXPECT_EQ(entry(u"PgDown")->key, VK_NEXT);
  EXPECT_FALSE(entry(u""));
  EXPECT_FALSE(entry(u"F25"));
  EXPECT_FALSE(entry(u"F0"));
  EXPECT_FALSE(entry(u"Meta+Q"));
  EXPECT_FALSE(entry(u"Ctrl+Qq"));
}
