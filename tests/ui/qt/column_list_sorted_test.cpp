// A sorted column list with a number column, as the window's file list uses it.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>
#include <QTreeWidget>

#include "tests/ui/qt/ui_test_support.h"
#include "tests/ui/test_window_flags.h"
#include "ui/column_list.h"
#include "ui/control_register.h"
#include "ui/controls.h"
#include "ui/top_level_windows.h"

namespace {

constexpr int64_t kList = 2;

struct SortedListTest : ::testing::Test {
  void SetUp() override {
    ASSERT_NE(WindowCreate(0, 800, 100, 600, 600, u"", kTestWindowFlags), 0);
    ASSERT_NE(ColumnListCreate(kList, 220, 10, 300, 300, u"Name", 250, kColumnListSorted), 0);
    ControlAddColumn(kList, 1, u"Size", 100);
    ColumnListNumberColumn(kList, 1);
    for (const char16_t* row : {u"img10.png\n7\n", u"b.txt\n1234567890\n", u"img2.png\n20\n", u"IMG3.png\n7\n"})
      ControlAddItem(kList, -1, row);
    DrainEvents();
  }
  void TearDown() override {
    WindowCloseAll();
    DrainEvents();
  }
  QTreeWidget& List() { return *static_cast<QTreeWidget*>(ControlFind(kList)->handle); }
  // The names as the widget shows them, each what the list holds for its row.
  std::vector<std::u16string> Names(int column = 0) {
    std::vector<std::u16string> names;
    for (int row = 0; row < List().topLevelItemCount(); ++row) {
      names.push_back(List().topLevelItem(row)->text(column).toStdU16String());
      EXPECT_EQ(names.back(), ControlItemText(kList, row, column)) << row;
    }
    return names;
  }
  void ClickTitle(int column) {
    QHeaderView& header = *List().header();
    QTest::mouseClick(
        header.viewport(), Qt::LeftButton, {},
        QPoint(header.sectionViewportPosition(column) + header.sectionSize(column) / 2, header.height() / 2));
  }
};

TEST_F(SortedListTest, RowsStandInNameOrderAndTitlesSortWithoutEventsBeyondTheClick) {
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"b.txt", u"img2.png", u"IMG3.png", u"img10.png"}));
  List().setCurrentItem(List().topLevelItem(1));  // img2.png
  DrainEvents();

  ClickTitle(1);  // by size, ties by name
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"IMG3.png", u"img10.png", u"img2.png", u"b.txt"}));
  ClickTitle(1);  // reversed
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"b.txt", u"img2.png", u"img10.png", u"IMG3.png"}));
  ControlAddItem(kList, -1, u"c.png\n8\n");  // joins the order shown
  EXPECT_EQ(ControlItemText(kList, 2, 0), u"c.png");
  EXPECT_EQ(ControlItemText(kList, 3, 0), u"img10.png");
  ClickTitle(0);
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"b.txt", u"c.png", u"img2.png", u"IMG3.png", u"img10.png"}));

  // The selection follows its row; the clicks report themselves and nothing else.
  EXPECT_EQ(ControlGetState(kList), 2);
  EXPECT_EQ(ControlGetText(kList), u"img2.png");
  std::vector<int64_t> details;
  for (const SeenControlEvent& e : DrainControlEvents()) details.push_back(e.detail);
  EXPECT_EQ(details, (std::vector<int64_t>{DetailColumnClick}));
}

TEST_F(SortedListTest, NumbersShowWholeAndNamesThatDoNotFitShowInATooltip) {
  QTreeWidget& list = List();
  QHeaderView& header = *list.header();
  const int margins = 2 * (list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 1);
  // The ten digits fit their column, which stands inside the list; the title too is
  // on the right.
  const QTreeWidgetItem& big = *list.topLevelItem(0);
  EXPECT_EQ(big.text(1), "1234567890");
  EXPECT_EQ(big.textAlignment(1), int(Qt::AlignRight | Qt::AlignVCenter));
  EXPECT_EQ(list.headerItem()->textAlignment(1), int(Qt::AlignRight | Qt::AlignVCenter));
  EXPECT_GE(header.sectionSize(1), list.fontMetrics().horizontalAdvance("1234567890") + margins);
  EXPECT_EQ(header.sectionViewportPosition(1) + header.sectionSize(1), list.viewport()->width());

  // Twenty digits widen the column; the name column gives way.
  ControlAddItem(kList, -1, u"huge\n18446744073709551615\n");
  EXPECT_GE(header.sectionSize(1), list.fontMetrics().horizontalAdvance("18446744073709551615") + margins);
  EXPECT_EQ(header.sectionSize(0) + header.sectionSize(1), list.viewport()->width());
  ControlClearItems(kList);
  EXPECT_EQ(header.sectionSize(1), 100);

  // A long name is cut short on screen; its tooltip holds it whole. A short one has none.
  const std::u16string long_name(80, u'n');
  ControlAddItem(kList, -1, long_name + u"\n1\n");
  ControlAddItem(kList, -1, u"a\n2\n");
  const auto tip_at = [&](int row) {
    QToolTip::hideText();
    const QPoint at = list.visualItemRect(list.topLevelItem(row)).topLeft() + QPoint(5, 3);
    QHelpEvent help(QEvent::ToolTip, at, list.viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(list.viewport(), &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
  };
  EXPECT_EQ(tip_at(0), QString());  // "a", first in the order
  EXPECT_EQ(tip_at(1), QString::fromStdU16String(long_name));
}

TEST_F(SortedListTest, ADimensionsColumnSortsByPixelCountAlsoAfterUpdatesAndColumnsPutInFront) {
  ControlAddColumn(kList, 2, u"Dimensions", 80);
  ColumnListDimensionsColumn(kList, 2);
  ColumnListUpdate(
      kList, {u"img10.png\n7\n640 x 10", u"b.txt\n1234567890\n", u"img2.png\n20\n20 x 400", u"IMG3.png\n7\n100 x 100"});
  ClickTitle(2);
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"b.txt", u"img10.png", u"img2.png", u"IMG3.png"}));
  // A row whose dimensions change moves to its place.
  ColumnListUpdate(
      kList, {u"img10.png\n7\n640 x 10", u"b.txt\n1234567890\n", u"img2.png\n20\n1 x 1", u"IMG3.png\n7\n100 x 100"});
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"b.txt", u"img2.png", u"img10.png", u"IMG3.png"}));
  // The column keeps its order when another comes in before it: a click on it reverses.
  ControlAddColumn(kList, 0, u"Tag", 40);
  EXPECT_EQ(ControlItemText(kList, -1, 3), u"Dimensions");
  ClickTitle(3);
  EXPECT_EQ(Names(1), (std::vector<std::u16string>{u"IMG3.png", u"img10.png", u"img2.png", u"b.txt"}));
}

TEST_F(SortedListTest, EnterOnASelectedRowIsADoubleClick) {
  List().setFocus();
  QTest::keyClick(&List(), Qt::Key_Return);  // nothing selected: nothing happens
  EXPECT_TRUE(DrainControlEvents().empty());
  List().setCurrentItem(List().topLevelItem(2));
  DrainEvents();
  QTest::keyClick(&List(), Qt::Key_Enter, Qt::KeypadModifier);
  std::vector<int64_t> details;
  for (const SeenControlEvent& e : DrainControlEvents()) details.push_back(e.detail);
  EXPECT_EQ(details, std::vector<int64_t>{DetailLeftDoubleClick});
}

}  // namespace
