#include "ui/push_button.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <algorithm>

#include "tests/ui/qt/ui_test_support.h"
#include "tests/ui/test_window_flags.h"
#include "ui/column_list.h"
#include "ui/control_register.h"
#include "ui/controls.h"
#include "ui/line_list.h"
#include "ui/qt/window_access.h"
#include "ui/top_level_windows.h"

namespace {

struct PushButtonTest : ::testing::Test {
  void SetUp() override {
    ASSERT_NE(WindowCreate(0, 800, 100, 600, 600, u"", kTestWindowFlags), 0);
    DrainEvents();
  }
  void TearDown() override {
    WindowCloseAll();
    DrainEvents();
  }
};

TEST_F(PushButtonTest, ClickReturnsTheMouseMessageFirstThenControlEvent) {
  ASSERT_NE(PushButtonCreate(3, 10, 315, 100, 30, u" p r o c e s s ", 0), 0);
  ASSERT_NE(PushButtonCreate(4, 310, 315, 100, 30, u" q u i t  ", 0), 0);
  QWidget* button = ControlFind(3)->handle;
  EXPECT_EQ(button->geometry(), QRect(10, 315, 100, 30));
  EXPECT_EQ(ControlGetText(4), u" q u i t  ");
  DrainEvents();

  const QPoint centre = button->rect().center();
  PostMouse(button, QEvent::MouseButtonPress, Qt::LeftButton, centre);
  PostMouse(button, QEvent::MouseButtonRelease, Qt::LeftButton, centre);
  EXPECT_EQ(EventWait(-1), 514);
  EXPECT_EQ(EventDetail(), -1);
  ASSERT_EQ(EventWait(-1), ControlEvent);
  EXPECT_EQ(EventControl(), 3);
  EXPECT_EQ(EventWindow(), 0);
  EXPECT_EQ(EventDetail(), DetailLeftClick);

  // Space on the focused button clicks it too, and so do Enter and Return; Ctrl+Enter
  // is another key.
  QTest::keyClick(ControlFind(4)->handle, Qt::Key_Space);
  EXPECT_EQ(DrainControlEvents(), (std::vector<SeenControlEvent>{{4, 0, DetailLeftClick}}));
  QTest::keyClick(ControlFind(4)->handle, Qt::Key_Return);
  QTest::keyClick(ControlFind(3)->handle, Qt::Key_Enter, Qt::KeypadModifier);
  QTest::keyClick(ControlFind(3)->handle, Qt::Key_Return, Qt::ControlModifier);
  EXPECT_EQ(DrainControlEvents(), (std::vector<SeenControlEvent>{{4, 0, DetailLeftClick}, {3, 0, DetailLeftClick}}));

  // A right click on a button is neither a click of it nor one of the window beneath.
  SendClick(button, centre, Qt::RightButton);
  SendMouse(button, QEvent::MouseButtonDblClick, Qt::LeftButton, centre, Qt::LeftButton);
  SendMouse(button, QEvent::MouseButtonRelease, Qt::LeftButton, {-5, -5});
  const std::vector<int32_t> codes = DrainEvents();
  for (const int32_t code : {RightButtonUpEvent, LeftButtonUpEvent, LeftDoubleClickEvent, ControlEvent})
    EXPECT_EQ(std::count(codes.begin(), codes.end(), code), 0) << code;
}

TEST_F(PushButtonTest, TabAndShiftTabWrapThroughTheControlsInCreationOrder) {
  QWidget* window = WindowHandle(0);
  QApplication::setActiveWindow(window);
  ColumnListCreate(2, 220, 10, 300, 300, u"Name", 250, 0);
  PushButtonCreate(3, 10, 315, 100, 30, u"p", 0);
  PushButtonCreate(4, 310, 315, 100, 30, u"q", 0);
  LineListCreate(6, 10, 350, 500, 200, 0);
  const std::vector<QWidget*> order = {ControlFind(2)->handle, ControlFind(3)->handle, ControlFind(4)->handle,
                                       ControlFind(6)->handle};
  order[0]->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), order[0]);
  for (size_t i = 1; i <= order.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), order[i % order.size()]) << "forward step " << i;
  }
  for (size_t i = order.size(); i-- > 0;) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), order[i]) << "backward to " << i;
  }
  // A control that cannot take the focus is passed over.
  order[1]->setEnabled(false);
  order[0]->setFocus();
  QTest::keyClick(order[0], Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), order[2]);
}

}  // namespace
