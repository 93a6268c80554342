#pragma once
// Drives the real program in this process: starts it as wWinMain does, then runs its
// event loop while a script of steps acts on the window, one step per tick of a timer
// of the loop's own thread, the way a user's clicks arrive. Steps wait while a scan
// runs and while a message box is up (which is answered with OK).
#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/window/app_numbers.h"
#include "app/window/main_window.h"
#include "ui/control_register.h"
#include "ui/win32/window_busy_cursor.h"

class WindowDriver {
 public:
  explicit WindowDriver(const StartFolder& start = {}) { MainWindowStart(start); }
  ~WindowDriver() {
    if (!stopped_) MainWindowStop();
  }
  WindowDriver(const WindowDriver&) = delete;
  WindowDriver& operator=(const WindowDriver&) = delete;

  WindowDriver& Then(std::function<void()> step) {
    steps_.push_back({nullptr, std::move(step)});
    return *this;
  }
  // Adds a step that waits, tick after tick, until `ready` holds: for what the program
  // does in its own time. After a generous limit the step runs all the same, to find
  // what it checks missing.
  WindowDriver& When(std::function<bool()> ready, std::function<void()> step) {
    steps_.push_back({std::move(ready), std::move(step)});
    return *this;
  }

  // Runs the loop until the program leaves it; returns its exit code. The program is
  // shut down afterwards.
  int Run() {
    current_ = this;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, Tick);
    const int code = MainWindowRun();
    KillTimer(nullptr, timer);
    current_ = nullptr;
    MainWindowStop();
    stopped_ = true;
    return code;
  }

  static HWND Control(int64_t number) {
    const ControlRecord* record = ControlFind(number);
    return record ? record->handle : nullptr;
  }
  // A left click on the control, put into the queue as the window system posts it.
  static void Click(int64_t number) {
    const HWND control = Control(number);
    RECT r{};
    GetClientRect(control, &r);
    const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(control, WM_LBUTTONUP, 0, at);
  }

  // The texts of the message boxes the program showed.
  std::vector<std::wstring> messages;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    WindowDriver& driver = *current_;
    if (HWND box = FindMessageBox()) {
      wchar_t text[1024] = {};
      GetDlgItemTextW(box, 0xFFFF, text, 1024);
      driver.messages.push_back(text);
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      return;
    }
    // A scan shows the busy cursor while it runs.
    if (driver.steps_.empty() || WindowBusyCursorShown()) return;
    const ULONGLONG now = GetTickCount64();
    if (driver.waiting_since_ == 0) driver.waiting_since_ = now;
    const auto& ready = driver.steps_.front().ready;
    if (ready && !ready() && now - driver.waiting_since_ < kLongestWaitMs) return;
    driver.waiting_since_ = 0;
    auto step = std::move(driver.steps_.front().step);
    driver.steps_.pop_front();
    step();
  }

  static HWND FindMessageBox() {
    struct Search {
      HWND box = nullptr;
    } search;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
          wchar_t name[16] = {};
          GetClassNameW(window, name, 16);
          if (std::wstring(name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
          reinterpret_cast<Search*>(data)->box = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.box;
  }

  struct Step {
    std::function<bool()> ready;  // null: at once
    std::function<void()> step;
  };
  static constexpr ULONGLONG kLongestWaitMs = 30000;
  static inline WindowDriver* current_ = nullptr;
  std::deque<Step> steps_;
  ULONGLONG waiting_since_ = 0;  // since the first step became the next
  bool stopped_ = false;
};
