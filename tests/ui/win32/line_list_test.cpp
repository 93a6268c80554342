#include "ui/line_list.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/ui/win32/list_test_support.h"
#include "ui/controls.h"
#include "ui/windows.h"

namespace {

constexpr int64_t kImageLog = 6;

struct LineListWin32 : ::testing::Test {
  void Open(uint32_t flags) {
    ASSERT_NE(WindowCreate(0, 100, 100, 600, 600, u"", 0xCC0000), 0);
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

}  // namespace
