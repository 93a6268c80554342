#include "ui/column_list.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTreeWidget>

#include "fs/text.h"
#include "tests/ui/qt/ui_test_support.h"
#include "tests/ui/test_window_flags.h"
#include "ui/control_register.h"
#include "ui/controls.h"
#include "ui/top_level_windows.h"

namespace {

constexpr int64_t kFileList = 2;

struct ColumnListTest : ::testing::Test {
  void SetUp() override {
    ASSERT_NE(WindowCreate(0, 800, 100, 600, 600, u"", kTestWindowFlags), 0);
    ASSERT_NE(ColumnListCreate(kFileList, 220, 10, 300, 300, u"Name", 250, 0), 0);
    ControlAddColumn(kFileList, 1, u"Size", 100);
    DrainEvents();
  }
  void TearDown() override {
    WindowCloseAll();
    DrainEvents();
  }
  QTreeWidget& List() { return *static_cast<QTreeWidget*>(ControlFind(kFileList)->handle); }
  QWidget* Viewport() { return List().viewport(); }
  QPoint RowPoint(int row) { return List().visualItemRect(List().topLevelItem(row)).center(); }
  QPoint EmptyPoint() { return {5, Viewport()->height() - 5}; }
  std::vector<int64_t> Details() {
    std::vector<int64_t> details;
    for (const SeenControlEvent& e : DrainControlEvents()) {
      EXPECT_EQ(e.object, kFileList);
      EXPECT_EQ(e.window, 0);
      details.push_back(e.detail);
    }
    return details;
  }
  // A cell as the widget shows it, checked against what the list holds for it.
  std::u16string Cell(int row, int column) {
    const std::u16string shown = List().topLevelItem(row)->text(column).toStdU16String();
    EXPECT_EQ(shown, ControlItemText(kFileList, row, column)) << row << "," << column;
    return shown;
  }
  void AddRows(int count) {
    for (int i = 0; i < count; ++i) ControlAddItem(kFileList, -1, u"row" + DecimalText(i) + u"\n" + DecimalText(i));
  }
};

TEST_F(ColumnListTest, RowsSplitAtLineFeedsIntoColumns) {
  EXPECT_EQ(ControlAddItem(kFileList, -1, u"pic.png\n5368709120\n"), 0);
  EXPECT_EQ(Cell(0, 0), u"pic.png");
  EXPECT_EQ(Cell(0, 1), u"5368709120");
  EXPECT_EQ(ControlItemText(kFileList, 0, 2), u"");  // no such column
  EXPECT_EQ(List().columnCount(), 2);

  ControlAddItem(kFileList, -1, u"");               // all cells empty
  ControlAddItem(kFileList, 99, u"last\n\nextra");  // beyond the end: appended
  ControlAddItem(kFileList, 0, u"first");
  ASSERT_EQ(List().topLevelItemCount(), 4);
  EXPECT_EQ(Cell(0, 0), u"first");
  EXPECT_EQ(Cell(1, 0), u"pic.png");
  EXPECT_EQ(Cell(2, 0), u"");
  EXPECT_EQ(Cell(2, 1), u"");
  EXPECT_EQ(Cell(3, 0), u"last");
  EXPECT_EQ(Cell(3, 1), u"");
  EXPECT_EQ(ControlItemText(kFileList, 4, 0), u"");
  EXPECT_EQ(ControlItemText(kFileList, -2, 0), u"");

  // A long text reads back whole, also after shorter ones were written.
  const std::u16string long_name(5000, u'n');
  ControlAddItem(kFileList, -1, long_name + u"\n1");
  EXPECT_EQ(Cell(4, 0), long_name);
}

TEST_F(ColumnListTest, HeaderTitlesAndWidthsAndNoSelection) {
  EXPECT_EQ(ControlGetState(kFileList), -1);
  EXPECT_EQ(ControlGetText(kFileList), u"");
  EXPECT_EQ(ControlItemText(kFileList, -1, 0), u"Name");
  EXPECT_EQ(ControlItemText(kFileList, -1, 1), u"Size");
  EXPECT_EQ(ControlItemText(kFileList, -1, 2), u"");
  EXPECT_EQ(List().header()->sectionSize(0), 250);
  EXPECT_EQ(List().header()->sectionSize(1), 100);
  // Wider together than the list: it scrolls sideways instead of squeezing them.
  EXPECT_FALSE(List().header()->stretchLastSection());

  // A column inserted in front moves titles, widths and cells one to the right.
  ControlAddItem(kFileList, -1, u"a\nb");
  ControlAddColumn(kFileList, 0, u"Tag", 40);
  ControlAddColumn(kFileList, -5, u"refused", 40);
  EXPECT_EQ(List().columnCount(), 3);
  EXPECT_EQ(ControlItemText(kFileList, -1, 0), u"Tag");
  EXPECT_EQ(List().headerItem()->text(2), u"Size");
  EXPECT_EQ(List().header()->sectionSize(1), 250);
  // The widget shows the cells where the list holds them.
  EXPECT_EQ(List().topLevelItem(0)->text(0), u"");
  EXPECT_EQ(List().topLevelItem(0)->text(1), u"a");
  EXPECT_EQ(List().topLevelItem(0)->text(2), u"b");
  EXPECT_EQ(ControlItemText(kFileList, 0, 2), u"b");
}

TEST_F(ColumnListTest, AddingAndClearingRowsRaiseNoEvents) {
  AddRows(3);
  List().setCurrentItem(List().topLevelItem(1));
  ASSERT_EQ(ControlGetState(kFileList), 1);
  EXPECT_EQ(ControlGetText(kFileList), u"row1");
  Details();
  ControlAddItem(kFileList, 0, u"new");  // moves the selected row down
  ControlClearItems(kFileList);          // and the selection goes
  EXPECT_EQ(List().topLevelItemCount(), 0);
  EXPECT_EQ(ControlGetState(kFileList), -1);
  EXPECT_TRUE(Details().empty());
}

TEST_F(ColumnListTest, ClicksAndSelectionChanges) {
  AddRows(3);
  // The first click off the rows with nothing selected: the empty selection counts
  // as a change once; the click itself posts nothing.
  SendClick(Viewport(), EmptyPoint());
  EXPECT_EQ(Details(), (std::vector<int64_t>{DetailChange}));
  SendClick(Viewport(), EmptyPoint());
  EXPECT_TRUE(Details().empty());

  SendClick(Viewport(), RowPoint(0));
  EXPECT_EQ(Details(), (std::vector<int64_t>{DetailChange, DetailLeftClick}));
  EXPECT_EQ(ControlGetState(kFileList), 0);
  // Moving to another row: the row left and the row entered, one merged change.
  SendClick(Viewport(), RowPoint(2));
  EXPECT_EQ(Details(), (std::vector<int64_t>{DetailChange, DetailLeftClick}));
  EXPECT_EQ(List().property("WK_LastSelected").toLongLong(), 2);

  SendClick(Viewport(), RowPoint(1), Qt::RightButton);
  EXPECT_EQ(Details(), (std::vector<int64_t>{DetailChange, DetailRightClick}));
  SendDoubleClick(Viewport(), RowPoint(1), Qt::RightButton);
  std::vector<int64_t> details = Details();
  EXPECT_NE(std::find(details.begin(), details.end(), DetailRightDoubleClick), details.end());
}

TEST_F(ColumnListTest, DoubleClickPostsOnARowOrOffIt) {
  AddRows(2);
  SendDoubleClick(Viewport(), RowPoint(1));
  std::vector<int64_t> details = Details();
  EXPECT_NE(std::find(details.begin(), details.end(), DetailLeftDoubleClick), details.end());
  EXPECT_EQ(ControlGetState(kFileList), 1);

  SendDoubleClick(Viewport(), EmptyPoint());
  details = Details();
  EXPECT_NE(std::find(details.begin(), details.end(), DetailLeftDoubleClick), details.end());
  // Off the rows the selection is empty: the double-click names the column title.
  EXPECT_EQ(ControlGetState(kFileList), -1);
  EXPECT_EQ(ControlItemText(kFileList, ControlGetState(kFileList), 0), u"Name");
}

TEST_F(ColumnListTest, HeaderClickAndDragStart) {
  AddRows(2);
  QHeaderView& header = *List().header();
  SendClick(header.viewport(), QPoint(header.sectionViewportPosition(1) + 10, header.height() / 2));
  EXPECT_EQ(Details(), (std::vector<int64_t>{DetailColumnClick}));
  EXPECT_EQ(List().property("WK_ClikedColumn").toLongLong(), 1);

  const QPoint from = RowPoint(0);
  SendMouse(Viewport(), QEvent::MouseButtonPress, Qt::LeftButton, from, Qt::LeftButton);
  Details();
  SendMouse(Viewport(), QEvent::MouseMove, Qt::NoButton, from + QPoint(1, 1), Qt::LeftButton);
  EXPECT_TRUE(Details().empty());  // within the drag distance
  SendMouse(Viewport(), QEvent::MouseMove, Qt::NoButton, RowPoint(1), Qt::LeftButton);
  EXPECT_EQ(Details(), (std::vector<int64_t>{DetailDragStart}));
  SendMouse(Viewport(), QEvent::MouseButtonRelease, Qt::LeftButton, RowPoint(1));
  EXPECT_TRUE(Details().empty());  // a drag is no click
  EXPECT_EQ(ControlGetState(kFileList), 0);
}

}  // namespace
