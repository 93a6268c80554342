// What the window system reports becomes the program's events, in the designed order.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <thread>

#include "tests/ui/win32/win32_test_support.h"
#include "ui/controls.h"
#include "ui/events.h"
#include "ui/push_button.h"
#include "ui/top_level_windows.h"
#include "ui/win32/window_access.h"

namespace {

constexpr int64_t kWindow = 0;
constexpr int64_t kButton = 3;
constexpr int64_t kOtherButton = 4;

}  // namespace

TEST(Win32Events, ClickOnButtonGivesTheMouseMessagesThenControlEvent) {
  TestWindow window(kWindow);
  const HWND button = ControlHandle(PushButtonCreate(kButton, 10, 10, 100, 30, u"press", 0));
  ASSERT_NE(button, nullptr);
  DrainEvents();
  PostClick(button);
  EXPECT_EQ(EventWait(-1), kLeftButtonDownMessage);
  EXPECT_EQ(EventDetail(), -1);
  EXPECT_EQ(EventWait(-1), kLeftButtonUpMessage);
  EXPECT_EQ(EventWait(-1), ControlEvent);
  EXPECT_EQ(EventControl(), kButton);
  EXPECT_EQ(EventWindow(), kWindow);
  EXPECT_EQ(EventDetail(), DetailLeftClick);
}

TEST(Win32Events, AMessageNumberedLikeAnEventIsNoEvent) {
  TestWindow window(kWindow);
  // Controls use the message numbers from WM_USER on, where the event codes lie too.
  static_assert(ControlEvent >= WM_USER && ControlEvent < 0x8000);
  PostMessageW(window.Handle(), ControlEvent, 0, 0);
  EXPECT_EQ(EventWait(-1), kOtherMessage);
  EXPECT_EQ(EventDetail(), -1);
}

TEST(Win32Events, IdenticalNeighboursMergeAndSuppressionDropsReports) {
  TestWindow window(kWindow);
  const HWND button = ControlHandle(PushButtonCreate(kButton, 10, 10, 100, 30, u"one", 0));
  const HWND other = ControlHandle(PushButtonCreate(kOtherButton, 120, 10, 100, 30, u"two", 0));
  DrainEvents();
  SendMessageW(button, BM_CLICK, 0, 0);
  SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_EQ(DrainControlEvents(), (std::vector<SeenControlEvent>{{kButton, kWindow, 0}}));

  SendMessageW(button, BM_CLICK, 0, 0);
  SendMessageW(other, BM_CLICK, 0, 0);
  SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_EQ(DrainControlEvents(),
            (std::vector<SeenControlEvent>{{kButton, kWindow, 0}, {kOtherButton, kWindow, 0}, {kButton, kWindow, 0}}));

  {
    const EventSuppression quiet;
    SendMessageW(button, BM_CLICK, 0, 0);
  }
  EXPECT_TRUE(DrainControlEvents().empty());
}

TEST(Win32Events, CloseBoxGivesCloseEventAndTheWindowStays) {
  TestWindow window(kWindow);
  const HWND handle = window.Handle();
  SendMessageW(handle, WM_SYSCOMMAND, SC_CLOSE, 0);
  const std::vector<int32_t> codes = DrainEvents();
  ASSERT_NE(std::find(codes.begin(), codes.end(), CloseEvent), codes.end());
  EXPECT_TRUE(IsWindow(handle));
  EXPECT_TRUE(IsWindowVisible(handle));
  EXPECT_EQ(WindowHandle(kWindow), handle);
}

TEST(Win32Events, CloseFromAnotherThreadWakesTheWait) {
  TestWindow window(kWindow);
  const HWND handle = window.Handle();
  // Should the wake-up never come, a key stands in for it after a while, so the test
  // fails instead of waiting for ever.
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread closer([&] {
    // A message sent from here is handled only once the test's thread asks for messages:
    // when this one returns, that thread is in the wait.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(handle, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
    // Handled inside the waiting GetMessageW, which it does not end by itself.
    SendNotifyMessageW(handle, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(done, 10000) == WAIT_TIMEOUT) PostMessageW(handle, WM_KEYDOWN, 'X', 0);
  });
  std::vector<int32_t> codes;
  while (codes.size() < 100 && (codes.empty() || codes.back() != CloseEvent)) codes.push_back(EventWait(-1));
  SetEvent(done);
  closer.join();
  CloseHandle(done);
  EXPECT_EQ(codes.back(), CloseEvent);
  EXPECT_EQ(EventControl(), kWindow);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), kKeyDownMessage), 0);
}

TEST(Win32Events, DestroyingGoesWithTheQueuedEvents) {
  TestWindow window(kWindow);
  const HWND button = ControlHandle(PushButtonCreate(kButton, 10, 10, 100, 30, u"one", 0));
  PushButtonCreate(kOtherButton, 120, 10, 100, 30, u"two", 0);
  DrainEvents();
  SendMessageW(button, BM_CLICK, 0, 0);
  // A new control under the number destroys the old one, and its events with it.
  PushButtonCreate(kButton, 10, 10, 100, 30, u"again", 0);
  EXPECT_FALSE(IsWindow(button));
  EXPECT_TRUE(DrainControlEvents().empty());

  SendMessageW(window.Handle(), WM_CLOSE, 0, 0);
  SendMessageW(GetDlgItem(window.Handle(), kOtherButton), BM_CLICK, 0, 0);
  WindowClose(kWindow);
  const std::vector<int32_t> codes = DrainEvents();
  EXPECT_EQ(std::count(codes.begin(), codes.end(), CloseEvent), 0);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), ControlEvent), 0);
  EXPECT_EQ(ControlGetText(kOtherButton), u"");
}
