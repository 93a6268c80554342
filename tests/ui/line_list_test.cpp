#include "ui/line_list.h"

#include <gtest/gtest.h>

#include <QListWidget>

#include "tests/ui/ui_test_support.h"
#include "ui/control_register.h"
#include "ui/controls.h"
#include "ui/windows.h"

namespace {

constexpr int64_t kImageLog = 6;

struct LineListTest : ::testing::Test {
  void SetUp() override {
    ASSERT_NE(WindowCreate(0, 800, 100, 600, 600, u"", 0xCC0000), 0);
    ASSERT_NE(LineListCreate(kImageLog, 10, 350, 500, 200, 0), 0);
    DrainEvents();
  }
  void TearDown() override {
    WindowCloseAll();
    DrainEvents();
  }
  QListWidget& List() { return *static_cast<QListWidget*>(ControlFind(kImageLog)->handle); }
  QWidget* Viewport() { return List().viewport(); }
  QPoint LinePoint(int line) { return List().visualItemRect(List().item(line)).center(); }
  std::vector<int64_t> Details() {
    std::vector<int64_t> details;
    for (const SeenControlEvent& e : DrainControlEvents()) {
      EXPECT_EQ(e.object, kImageLog);
      details.push_back(e.detail);
    }
    return details;
  }
};

TEST_F(LineListTest, LinesKeepTheOrderAddedAndReadBack) {
  ControlAddItem(kImageLog, -1, u"image list");
  ControlAddItem(kImageLog, -1, u"a/b.png");
  ControlAddItem(kImageLog, 50, u"c.jpg");  // beyond the end: appended
  ControlAddItem(kImageLog, 1, u"between");
  ASSERT_EQ(List().count(), 4);
  EXPECT_EQ(ControlItemText(kImageLog, 0, 0), u"image list");
  EXPECT_EQ(ControlItemText(kImageLog, 1, 0), u"between");
  EXPECT_EQ(ControlItemText(kImageLog, 2, 0), u"a/b.png");
  EXPECT_EQ(ControlItemText(kImageLog, 3, 0), u"c.jpg");
  EXPECT_EQ(ControlItemText(kImageLog, 4, 0), u"");
  EXPECT_EQ(ControlItemText(kImageLog, -1, 0), u"");
  EXPECT_EQ(ControlGetState(kImageLog), -1);
  EXPECT_EQ(ControlGetText(kImageLog), u"");
  EXPECT_TRUE(Details().empty());
}

TEST_F(LineListTest, ClicksDoubleClicksAndDrags) {
  for (int i = 0; i < 3; ++i) ControlAddItem(kImageLog, -1, u"line");
  SendClick(Viewport(), LinePoint(1));
  // The selection change and the release over the line: one merged click.
  EXPECT_EQ(Details(), (std::vector<int64_t>{DetailLeftClick}));
  EXPECT_EQ(ControlGetState(kImageLog), 1);
  EXPECT_EQ(ControlGetText(kImageLog), u"line");

  SendClick(Viewport(), LinePoint(2), Qt::RightButton);
  std::vector<int64_t> details = Details();
  ASSERT_FALSE(details.empty());
  EXPECT_EQ(details.back(), DetailRightClick);

  SendDoubleClick(Viewport(), LinePoint(0));
  details = Details();
  EXPECT_NE(std::find(details.begin(), details.end(), DetailLeftDoubleClick), details.end());

  // Pressed on a line and moved beyond the drag distance: a drag start; the release
  // afterwards is no click.
  SendMouse(Viewport(), QEvent::MouseButtonPress, Qt::LeftButton, LinePoint(0), Qt::LeftButton);
  Details();
  SendMouse(Viewport(), QEvent::MouseMove, Qt::NoButton, LinePoint(0) + QPoint(40, 0), Qt::LeftButton);
  EXPECT_EQ(Details(), (std::vector<int64_t>{DetailDragStart}));
  EXPECT_FALSE(List().property("WK_MouseDown").isValid());
  SendMouse(Viewport(), QEvent::MouseButtonRelease, Qt::LeftButton, LinePoint(0) + QPoint(40, 0));
  EXPECT_TRUE(Details().empty());

  ControlClearItems(kImageLog);
  EXPECT_EQ(List().count(), 0);
  EXPECT_TRUE(Details().empty());
}

}  // namespace
