// Message boxes: application-modal, their text cut at the longest the system shows.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/ui/test_window_flags.h"
#include "tests/ui/win32/win32_test_support.h"
#include "ui/message_box.h"
#include "ui/top_level_windows.h"

namespace {

// What the box showed, read as it opens; the box is then answered with OK.
struct SeenBox {
  int text_length = -1;
  std::wstring caption;
  bool owner_enabled = true;
  HWND owner = nullptr;
};
SeenBox g_seen;
HHOOK g_hook = nullptr;

LRESULT CALLBACK WatchBox(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE) {
    const auto box = reinterpret_cast<HWND>(wparam);
    wchar_t name[32] = {};
    GetClassNameW(box, name, 32);
    if (std::wstring(name) == L"#32770") {
      constexpr int kTextId = 0xFFFF;  // the box's text
      g_seen.text_length = GetWindowTextLengthW(GetDlgItem(box, kTextId));
      wchar_t caption[64] = {};
      GetWindowTextW(box, caption, 64);
      g_seen.caption = caption;
      if (g_seen.owner) g_seen.owner_enabled = IsWindowEnabled(g_seen.owner);
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
  }
  return CallNextHookEx(g_hook, code, wparam, lparam);
}

int ShowWatched(const std::u16string& text, HWND other) {
  g_seen = {};
  g_seen.owner = other;
  g_hook = SetWindowsHookExW(WH_CBT, WatchBox, nullptr, GetCurrentThreadId());
  const int result = MessageBoxShow(u"imagescan", text, kMessageBoxOk);
  UnhookWindowsHookEx(g_hook);
  return result;
}

}  // namespace

TEST(Win32MessageBox, LongTextIsCutAndOtherWindowsWait) {
  TestWindow window(0);
  const HWND other = WindowHandle(WindowCreate(kAutoNumber, 20, 20, 200, 100, u"other", kTestWindowFlags));
  ASSERT_NE(other, nullptr);
  // The box belongs to the active window; the program's other window waits as well.
  EXPECT_EQ(ShowWatched(std::u16string(70000, u'a'), window.Handle()), kMessageBoxResultOk);
  EXPECT_EQ(g_seen.text_length, 65534);
  EXPECT_EQ(g_seen.caption, L"imagescan");
  EXPECT_FALSE(g_seen.owner_enabled);
  EXPECT_TRUE(IsWindowEnabled(other));
  EXPECT_TRUE(IsWindowEnabled(window.Handle()));

  EXPECT_EQ(ShowWatched(std::u16string(65535, u'b'), nullptr), kMessageBoxResultOk);
  EXPECT_EQ(g_seen.text_length, 65535);
  WindowCloseAll();
}
