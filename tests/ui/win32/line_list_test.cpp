#include "ui/line_list.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/ui/test_window_flags.h"
#include "tests/ui/win32/list_test_support.h"
#include "ui/controls.h"
#include "ui/top_level_windows.h"
#include "ui/win32/owner_draw.h"

namespace {

// Counts the messages sent to one window while it lives: those it is sent, and the
// lines its window asks it to draw.
class SentCounter {
 public:
  explicit SentCounter(HWND window) {
    watched_ = window;
    hook_ = SetWindowsHookExW(WH_CALLWNDPROC, Count, nullptr, GetCurrentThreadId());
  }
  ~SentCounter() { UnhookWindowsHookEx(hook_); }
  static inline int sent = 0;
  static inline int drawn = 0;

 private:
  static LRESULT CALLBACK Count(int code, WPARAM wparam, LPARAM lparam) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (code == HC_ACTION && message->hwnd == watched_) {
      ++sent;
      if (message->message == kDrawItemReflected) ++drawn;
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
  }
  static inline HWND watched_ = nullptr;
  HHOOK hook_;
};

constexpr int64_t kImageLog = 6;

struct LineListWin32 : ::testing::Test {
  void Open(uint32_t flags) {
    ASSERT_NE(WindowCreate(0, 100, 100, 600, 600, u"", kTestWindowFlags), 0);
    ASSERT_NE(LineListCreate(kImageLog, 10, 350, 500, 200, flags), 0);
    for (const char16_t* line : {u"image list", u"a/one.png", u"b/two.png"}) ControlAddItem(kImageLog, -1, line);
    ListEvents(kImageLog);
  }
  void TearDown() override {
    WindowCloseAll();
    ListEvents(kImageLog);
  }
  static HWND List() { return ListWindow(kImageLog); }
  static POINT LinePoint(int line) {
    RECT rect{};
    SendMessageW(List(), LB_GETITEMRECT, line, reinterpret_cast<LPARAM>(&rect));
    return {rect.left + 5, (rect.top + rect.bottom) / 2};
  }
};

TEST_F(LineListWin32, LinesInTheOrderAddedAndTheSelection) {
  Open(0);
  ControlAddItem(kImageLog, 99, u"beyond");  // appended
  ControlAddItem(kImageLog, 1, u"second");
  EXPECT_EQ(SendMessageW(List(), LB_GETCOUNT, 0, 0), 5);
  const std::vector<std::u16string> expected{u"image list", u"second", u"a/one.png", u"b/two.png", u"beyond"};
  for (int line = 0; line < 5; ++line) EXPECT_EQ(ControlItemText(kImageLog, line, 0), expected[line]);
  EXPECT_EQ(ControlItemText(kImageLog, 5, 0), u"");
  EXPECT_EQ(ControlItemText(kImageLog, -1, 0), u"");
  EXPECT_EQ(ControlGetState(kImageLog), -1);
  EXPECT_EQ(ControlGetText(kImageLog), u"");
  SendMessageW(List(), LB_SETCURSEL, 2, 0);
  EXPECT_EQ(ControlGetState(kImageLog), 2);
  EXPECT_EQ(ControlGetText(kImageLog), u"a/one.png");
  EXPECT_TRUE(ListEvents(kImageLog).empty());  // set by the program, not the user

  // A line wider than the list can be scrolled to.
  RECT client{};
  GetClientRect(List(), &client);
  ControlAddItem(kImageLog, -1, std::u16string(300, u'w'));
  EXPECT_GT(SendMessageW(List(), LB_GETHORIZONTALEXTENT, 0, 0), client.right);
  ControlClearItems(kImageLog);
  EXPECT_EQ(SendMessageW(List(), LB_GETHORIZONTALEXTENT, 0, 0), 0);
  EXPECT_TRUE(ListEvents(kImageLog).empty());
}

TEST_F(LineListWin32, ClicksDoubleClicksAndDrags) {
  Open(0);
  PostClickAt(List(), LinePoint(1));
  EXPECT_EQ(ListEvents(kImageLog), (std::vector<int64_t>{DetailLeftClick}));
  EXPECT_EQ(ControlGetState(kImageLog), 1);
  PostClickAt(List(), LinePoint(1), WM_LBUTTONDBLCLK);
  const std::vector<int64_t> twice = ListEvents(kImageLog);
  ASSERT_FALSE(twice.empty());
  EXPECT_EQ(twice.front(), DetailLeftDoubleClick);
  PostClickAt(List(), LinePoint(2), WM_RBUTTONDOWN);
  EXPECT_EQ(ListEvents(kImageLog), (std::vector<int64_t>{DetailRightClick}));
  POINT to = LinePoint(1);
  to.x += 40;
  PostDrag(List(), LinePoint(1), to);
  const std::vector<int64_t> dragged = ListEvents(kImageLog);
  ASSERT_FALSE(dragged.empty());
  EXPECT_EQ(dragged.front(), DetailDragStart);
  EXPECT_EQ(GetPropW(List(), L"WK_MouseDown"), nullptr);
  EXPECT_NE(GetCapture(), List());
}

TEST_F(LineListWin32, AnExtendedSelectionKeepsItsLinesForADrag) {
  Open(kLineListExtendedSelection);
  SendMessageW(List(), LB_SELITEMRANGE, TRUE, MAKELPARAM(1, 2));
  EXPECT_EQ(ControlGetState(kImageLog), 1);
  PostDrag(List(), LinePoint(2), {LinePoint(2).x + 40, LinePoint(2).y});
  const std::vector<int64_t> dragged = ListEvents(kImageLog);
  ASSERT_FALSE(dragged.empty());
  EXPECT_EQ(dragged.front(), DetailDragStart);
  // The press on a selected line did not select that line alone.
  EXPECT_EQ(SendMessageW(List(), LB_GETSELCOUNT, 0, 0), 2);
}

TEST_F(LineListWin32, AppendingCostsTheSameForALongListAsForAShortOne) {
  Open(0);
  // 100 lines appended, then the list shown: the messages the list box is sent, and
  // the lines it draws.
  const auto append_and_show = [&](int lines) {
    SentCounter counter(List());
    SentCounter::sent = SentCounter::drawn = 0;
    for (int i = 0; i < lines; ++i) ControlAddItem(kImageLog, -1, u"folder/image" + std::u16string(1, u'a' + i % 26));
    SendMessageW(List(), LB_SETTOPINDEX, SendMessageW(List(), LB_GETCOUNT, 0, 0) - 1, 0);
    RedrawWindow(List(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return std::pair{SentCounter::sent, SentCounter::drawn};
  };
  append_and_show(100);  // the scroll bar comes, the list box measures its lines
  const auto [short_sent, short_drawn] = append_and_show(100);
  for (int i = 0; i < 20000; ++i) ControlAddItem(kImageLog, -1, u"line");
  const auto [long_sent, long_drawn] = append_and_show(100);
  EXPECT_EQ(SendMessageW(List(), LB_GETCOUNT, 0, 0), 3 + 20300);
  EXPECT_EQ(long_sent, short_sent);
  EXPECT_EQ(long_drawn, short_drawn);
  // Only the lines shown are drawn.
  RECT client{};
  GetClientRect(List(), &client);
  EXPECT_LE(long_drawn, client.bottom / SendMessageW(List(), LB_GETITEMHEIGHT, 0, 0) + 2);
  EXPECT_EQ(ControlItemText(kImageLog, 3 + 20300 - 1, 0), u"folder/image" + std::u16string(1, u'a' + 99 % 26));
}

TEST_F(LineListWin32, LinesAppendedKeepTheSelectionAndTheScrollingAndAnswerForTheirText) {
  for (const uint32_t flags : {0u, kLineListExtendedSelection}) {
    SCOPED_TRACE(flags);
    Open(flags);
    for (int i = 0; i < 100; ++i) ControlAddItem(kImageLog, -1, u"line");
    SendMessageW(List(), LB_SETSEL, TRUE, 2);
    SendMessageW(List(), LB_SETCURSEL, 2, 0);
    SendMessageW(List(), LB_SETTOPINDEX, 40, 0);
    ControlAddItem(kImageLog, -1, u"last");
    EXPECT_EQ(ControlGetState(kImageLog), 2);
    EXPECT_EQ(SendMessageW(List(), LB_GETTOPINDEX, 0, 0), 40);
    // Between lines, a line moves the selection down with its line.
    ControlAddItem(kImageLog, 1, u"between");
    EXPECT_EQ(ControlGetState(kImageLog), 3);
    EXPECT_EQ(ControlGetText(kImageLog), u"b/two.png");
    // Whoever asks the list box for a line's text gets it.
    ASSERT_EQ(SendMessageW(List(), LB_GETTEXTLEN, 104, 0), 4);
    wchar_t text[5] = {};
    EXPECT_EQ(SendMessageW(List(), LB_GETTEXT, 104, reinterpret_cast<LPARAM>(text)), 4);
    EXPECT_EQ(std::wstring(text), L"last");
    EXPECT_EQ(SendMessageW(List(), LB_GETTEXTLEN, 105, 0), LB_ERR);
    WindowCloseAll();
    ListEvents(kImageLog);
  }
}

TEST_F(LineListWin32, ATypedCharacterSelectsTheNextLineStartingWithIt) {
  Open(0);
  for (const char16_t* line : {u"Beta", u"apple", u"banana"}) ControlAddItem(kImageLog, -1, line);
  SetFocus(List());
  SendMessageW(List(), WM_CHAR, L'b', 0);
  EXPECT_EQ(ControlGetState(kImageLog), 2);  // b/two.png
  SendMessageW(List(), WM_CHAR, L'b', 0);
  EXPECT_EQ(ControlGetState(kImageLog), 3);  // Beta: case does not matter
  SendMessageW(List(), WM_CHAR, L'B', 0);
  EXPECT_EQ(ControlGetState(kImageLog), 5);
  SendMessageW(List(), WM_CHAR, L'b', 0);
  EXPECT_EQ(ControlGetState(kImageLog), 2);  // round again
  SendMessageW(List(), WM_CHAR, L'z', 0);
  EXPECT_EQ(ControlGetState(kImageLog), 2);
  const std::vector<int64_t> moved = ListEvents(kImageLog);
  ASSERT_FALSE(moved.empty());
  EXPECT_EQ(moved.front(), DetailLeftClick);
}

TEST_F(LineListWin32, ADragStartsOnASelectedLineBeyondTheFirst65536) {
  Open(kLineListExtendedSelection);
  for (int i = 0; i < 70000; ++i) ControlAddItem(kImageLog, -1, u"line");
  // Line 70000 is selected; line 4464 (the same low 16 bits) is not.
  SendMessageW(List(), LB_SETSEL, TRUE, 4464);
  SendMessageW(List(), LB_SETTOPINDEX, 69990, 0);
  const POINT at = LinePoint(70000);
  PostDrag(List(), at, {at.x + 40, at.y});
  const std::vector<int64_t> pressed = ListEvents(kImageLog);
  EXPECT_EQ(std::count(pressed.begin(), pressed.end(), DetailDragStart), 0);
  SendMessageW(List(), LB_SETSEL, FALSE, -1);
  SendMessageW(List(), LB_SETSEL, TRUE, 70000);
  PostDrag(List(), at, {at.x + 40, at.y});
  const std::vector<int64_t> dragged = ListEvents(kImageLog);
  ASSERT_FALSE(dragged.empty());
  EXPECT_EQ(dragged.front(), DetailDragStart);
}

// The list's tooltip, found among the thread's windows by its tool.
HWND TipOf(HWND list) {
  struct Search {
    HWND list;
    HWND found;
  } search{list, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM data) -> BOOL {
        auto& wanted = *reinterpret_cast<Search*>(data);
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        TOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        if (std::wstring(name) != TOOLTIPS_CLASSW ||
            !SendMessageW(window, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)) || tool.hwnd != wanted.list)
          return TRUE;
        wanted.found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST_F(LineListWin32, ALineCutShortShowsWholeInATooltip) {
  Open(0);
  const std::u16string long_line = u"Warning: " + std::u16string(200, u'w');
  ControlAddItem(kImageLog, -1, long_line);
  const HWND tip = TipOf(List());
  ASSERT_NE(tip, nullptr);
  // What the tooltip is told with the pointer on the line.
  const auto tip_text = [&](int line) {
    POINT at = LinePoint(line);
    ClientToScreen(List(), &at);
    SetCursorPos(at.x, at.y);
    NMTTDISPINFOW asked{};
    asked.hdr = {tip, 0, TTN_GETDISPINFOW};
    SendMessageW(List(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&asked));
    return asked.lpszText ? std::u16string(reinterpret_cast<const char16_t*>(asked.lpszText)) : std::u16string();
  };
  EXPECT_EQ(tip_text(1), u"");  // shown whole: no tip
  EXPECT_EQ(tip_text(3), long_line);
  // Scrolled sideways, the start of every line is out of sight.
  SendMessageW(List(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 40), 0);
  EXPECT_EQ(tip_text(1), u"a/one.png");
}

}  // namespace
