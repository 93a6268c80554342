// A long command holds the user's input, lets the window repaint, and stops on request.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/ui/win32/win32_test_support.h"
#include "ui/events.h"
#include "ui/push_button.h"
#include "ui/top_level_windows.h"
#include "ui/window_busy.h"

namespace {

constexpr int64_t kWindow = 0;
constexpr int64_t kProcess = 3;
constexpr int64_t kQuit = 4;

struct BusyWindow {
  TestWindow window{kWindow};
  HWND process = ControlHandle(PushButtonCreate(kProcess, 10, 10, 100, 30, u"process", 0));
  HWND quit = ControlHandle(PushButtonCreate(kQuit, 120, 10, 100, 30, u"quit", 0));
  BusyWindow() { DrainEvents(); }
};

}  // namespace

TEST(Win32WindowBusy, HeldClickIsActedOnOnceAfterTheCommand) {
  BusyWindow w;
  {
    WindowBusy busy(kWindow, kQuit);
    PostClick(w.process);
    EXPECT_TRUE(busy.Refresh());
    EXPECT_FALSE(EventQueued(ControlEvent, kProcess, kAnyValue, kAnyValue));
    EXPECT_TRUE(busy.Refresh());
  }
  EXPECT_EQ(DrainControlEvents(), (std::vector<SeenControlEvent>{{kProcess, kWindow, DetailLeftClick}}));
}

TEST(Win32WindowBusy, EscapeTheCloseBoxAndTheExitControlAskToStop) {
  BusyWindow w;
  {
    WindowBusy busy(kWindow, kQuit);
    PostMessageW(w.process, WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_FALSE(busy.Refresh());
  }
  EXPECT_TRUE(DrainControlEvents().empty());  // Escape is not given back
  {
    WindowBusy busy(kWindow, kQuit);
    PostClick(w.quit);
    EXPECT_FALSE(busy.Refresh());
  }
  EXPECT_EQ(DrainControlEvents(), (std::vector<SeenControlEvent>{{kQuit, kWindow, DetailLeftClick}}));
  {
    WindowBusy busy(kWindow, kQuit);
    PostMessageW(w.window.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(busy.Refresh());
  }
  EXPECT_EQ(EventWait(0), CloseEvent);
}

TEST(Win32WindowBusy, ShortcutStopsButTabWaits) {
  BusyWindow w;
  constexpr int64_t kQuitCommand = 1;
  WindowAcceleratorAdd(kWindow, u"Ctrl+Q", kQuitCommand);
  SetFocus(w.process);
  {
    WindowBusy busy(kWindow, kQuit);
    busy.StopOn(CommandEvent, kQuitCommand);
    PostKey(VK_TAB);
    EXPECT_TRUE(busy.Refresh());
    EXPECT_EQ(GetFocus(), w.process);
    SetKeyHeld(VK_CONTROL, true);
    PostKey('Q');
    const bool going = busy.Refresh();
    SetKeyHeld(VK_CONTROL, false);
    EXPECT_FALSE(going);
  }
  DrainEvents();
  EXPECT_EQ(GetFocus(), w.quit);  // the held Tab, given back
}
