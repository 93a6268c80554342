#include "ui/line_list.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QListWidget>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QToolTip>

#include "fs/text.h"
#include "tests/ui/qt/ui_test_support.h"
#include "tests/ui/test_window_flags.h"
#include "ui/control_register.h"
#include "ui/control_scroll.h"
#include "ui/controls.h"
#include "ui/top_level_windows.h"

namespace {

constexpr int64_t kImageLog = 6;

// Stands between a list and its own delegate and counts the lines measured.
class CountingDelegate : public QStyledItemDelegate {
 public:
  explicit CountingDelegate(QAbstractItemDelegate* own) : own_(own) {}
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    ++measured;
    return own_->sizeHint(option, index);
  }
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    own_->paint(painter, option, index);
  }
  mutable int measured = 0;

 private:
  QAbstractItemDelegate* own_;
};

struct LineListTest : ::testing::Test {
  void SetUp() override {
    ASSERT_NE(WindowCreate(0, 800, 100, 600, 600, u"", kTestWindowFlags), 0);
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

// The log grows by a run's images between repaints: laying it out must not measure every
// line again, or each repaint costs more as the list grows and a long scan crawls.
TEST_F(LineListTest, LinesAddedToALongListCostNoMoreThanToAShortOne) {
  QListWidget& list = List();
  QAbstractItemDelegate* own = list.itemDelegate();
  CountingDelegate counting(own);
  list.setItemDelegate(&counting);
  const auto add_and_show = [&](int from, int count) {
    counting.measured = 0;
    for (int i = from; i < from + count; ++i) ControlAddItem(kImageLog, -1, u"pics/image-" + DecimalText(i) + u".png");
    ControlScrollToEnd(kImageLog);
    QApplication::processEvents();
    return counting.measured;
  };
  const int short_list = add_and_show(0, 100);
  add_and_show(100, 20000);
  const int long_list = add_and_show(20100, 100);
  EXPECT_LE(long_list, short_list + 10);
  EXPECT_EQ(list.count(), 20200);
  // Still every line in sight at its turn: the last one at the end of the scroll.
  EXPECT_TRUE(list.viewport()->rect().intersects(list.visualItemRect(list.item(20199))));
  // The widest line can be scrolled into sight whole, wherever it stands.
  const std::u16string wide(300, u'w');
  ControlAddItem(kImageLog, 5, wide);
  QApplication::processEvents();
  EXPECT_GE(list.visualItemRect(list.item(5)).width(), list.fontMetrics().horizontalAdvance(QString(300, u'w')));
  // A line cut by the list's edge shows whole in a tooltip; one that fits, none, though
  // every line takes the widest line's size.
  list.scrollToItem(list.item(5));
  const auto tip_at = [&](int row) {
    const QPoint at = list.visualItemRect(list.item(row)).topLeft() + QPoint(2, 2);
    QHelpEvent help(QEvent::ToolTip, at, list.viewport()->mapToGlobal(at));
    QApplication::sendEvent(list.viewport(), &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
  };
  EXPECT_EQ(tip_at(6), QString());
  EXPECT_EQ(tip_at(5), QString(300, u'w'));
  QToolTip::hideText();
  list.setItemDelegate(own);
}

}  // namespace
