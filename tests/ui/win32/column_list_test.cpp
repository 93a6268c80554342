#include "ui/column_list.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "tests/ui/test_window_flags.h"
#include "tests/ui/win32/list_test_support.h"
#include "ui/controls.h"
#include "ui/dpi.h"
#include "ui/top_level_windows.h"

namespace {

constexpr int64_t kFileList = 2;

struct ColumnListWin32 : ::testing::Test {
  void Open(uint32_t flags) {
    ASSERT_NE(WindowCreate(0, 100, 100, 600, 600, u"", kTestWindowFlags), 0);
    ASSERT_NE(ColumnListCreate(kFileList, 220, 10, 300, 300, u"Name", 250, flags), 0);
    ControlAddColumn(kFileList, 1, u"Size", 100);
    ListEvents(kFileList);
  }
  void TearDown() override {
    WindowCloseAll();
    ListEvents(kFileList);
  }
  static HWND List() { return ListWindow(kFileList); }
  static HWND Header() { return reinterpret_cast<HWND>(SendMessageW(List(), LVM_GETHEADER, 0, 0)); }
  static int Rows() { return static_cast<int>(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0)); }
  static int Width(int column) { return static_cast<int>(SendMessageW(List(), LVM_GETCOLUMNWIDTH, column, 0)); }
  static POINT RowPoint(int row) {
    RECT rect{};
    rect.left = LVIR_LABEL;
    SendMessageW(List(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
    return {rect.left + 4, (rect.top + rect.bottom) / 2};
  }
  static POINT EmptyPoint() {
    RECT client{};
    GetClientRect(List(), &client);
    return {5, client.bottom - 5};
  }
  static void Select(int row) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(List(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
  }
  static void ClickTitle(int column) {
    RECT rect{};
    SendMessageW(Header(), HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&rect));
    PostClickAt(Header(), {rect.left + 10, (rect.top + rect.bottom) / 2});  // in sight
  }
  // A column's texts as the list view shows them, each what the list holds for its row.
  static std::vector<std::u16string> Column(int column) {
    std::vector<std::u16string> texts;
    for (int row = 0; row < Rows(); ++row) {
      wchar_t buffer[256] = {};
      LVITEMW item{};
      item.iSubItem = column;
      item.pszText = buffer;
      item.cchTextMax = 256;
      SendMessageW(List(), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
      texts.emplace_back(reinterpret_cast<const char16_t*>(buffer));
      EXPECT_EQ(texts.back(), ControlItemText(kFileList, row, column)) << row;
    }
    return texts;
  }
};

TEST_F(ColumnListWin32, RowsSplitAtLineFeedsIntoColumns) {
  Open(0);
  EXPECT_EQ(ControlItemText(kFileList, -1, 0), u"Name");
  EXPECT_EQ(ControlItemText(kFileList, -1, 1), u"Size");
  EXPECT_EQ(ControlItemText(kFileList, -1, 2), u"");
  EXPECT_EQ(ControlGetState(kFileList), -1);
  EXPECT_EQ(ControlAddItem(kFileList, -1, u"pic.png\n5368709120\n"), 0);
  ControlAddItem(kFileList, -1, u"");
  ControlAddItem(kFileList, 99, u"last\n\nextra");  // beyond the end: appended
  ControlAddItem(kFileList, 0, u"first");
  ASSERT_EQ(Rows(), 4);
  EXPECT_EQ(Column(0), (std::vector<std::u16string>{u"first", u"pic.png", u"", u"last"}));
  EXPECT_EQ(Column(1), (std::vector<std::u16string>{u"", u"5368709120", u"", u""}));
  EXPECT_EQ(ControlItemText(kFileList, 1, 2), u"");  // no such column
  EXPECT_EQ(ControlItemText(kFileList, 4, 0), u"");
  EXPECT_EQ(ControlItemText(kFileList, -2, 0), u"");
  // A long text reads back whole after shorter ones.
  const std::u16string long_name(5000, u'n');
  ControlAddItem(kFileList, -1, long_name + u"\n1");
  EXPECT_EQ(ControlItemText(kFileList, 4, 0), long_name);

  // A column put in front moves titles and cells one to the right.
  ControlAddColumn(kFileList, 0, u"Tag", 40);
  ControlAddColumn(kFileList, -5, u"refused", 40);
  EXPECT_EQ(ControlItemText(kFileList, -1, 0), u"Tag");
  EXPECT_EQ(ControlItemText(kFileList, -1, 2), u"Size");
  EXPECT_EQ(ControlItemText(kFileList, -1, 3), u"");
  EXPECT_EQ(ControlItemText(kFileList, 1, 0), u"");
  EXPECT_EQ(ControlItemText(kFileList, 1, 1), u"pic.png");
  EXPECT_EQ(ControlItemText(kFileList, 1, 2), u"5368709120");
}

TEST_F(ColumnListWin32, SortedListsReadNumbersByValueAndTitlesSortThem) {
  Open(kColumnListSorted);
  for (const char16_t* row : {u"img10.png\n10", u"img2.png\n300", u"IMG1.png\n2", u"img2.png\n1"})
    ControlAddItem(kFileList, 0, row);
  // Rows alike in the first column keep the order they were added in.
  EXPECT_EQ(Column(0), (std::vector<std::u16string>{u"IMG1.png", u"img2.png", u"img2.png", u"img10.png"}));
  EXPECT_EQ(Column(1), (std::vector<std::u16string>{u"2", u"300", u"1", u"10"}));

  ClickTitle(1);
  EXPECT_EQ(ListEvents(kFileList), (std::vector<int64_t>{DetailColumnClick}));
  EXPECT_EQ(Column(1), (std::vector<std::u16string>{u"1", u"2", u"10", u"300"}));
  ClickTitle(1);
  ListEvents(kFileList);
  EXPECT_EQ(Column(1), (std::vector<std::u16string>{u"300", u"10", u"2", u"1"}));
  HDITEMW title{};
  title.mask = HDI_FORMAT;
  SendMessageW(Header(), HDM_GETITEMW, 1, reinterpret_cast<LPARAM>(&title));
  EXPECT_TRUE(title.fmt & HDF_SORTDOWN);
  // A new row goes to its place in the order shown.
  ControlAddItem(kFileList, -1, u"new\n20");
  EXPECT_EQ(ControlItemText(kFileList, 1, 0), u"new");
}

TEST_F(ColumnListWin32, ADimensionsColumnSortsByPixelCountAndRowsThatChangeMoveToTheirPlace) {
  Open(kColumnListSorted);
  ControlAddColumn(kFileList, 2, u"Dimensions", 80);
  ColumnListDimensionsColumn(kFileList, 2);
  ColumnListUpdate(kFileList,
                   {u"wide.png\n7\n640 x 10", u"b.txt\n9\n", u"tall.png\n20\n20 x 400", u"square.png\n7\n100 x 100"});
  ClickTitle(2);
  ListEvents(kFileList);
  EXPECT_EQ(Column(0), (std::vector<std::u16string>{u"b.txt", u"wide.png", u"tall.png", u"square.png"}));
  Select(3);  // square.png
  // Two rows change at once, each moving past the other: both keep their place in the
  // order, and the selection stays with its row.
  ColumnListUpdate(kFileList,
                   {u"wide.png\n7\n640 x 10", u"b.txt\n9\n", u"tall.png\n20\n1 x 1", u"square.png\n7\n2 x 2"});
  EXPECT_EQ(Column(0), (std::vector<std::u16string>{u"b.txt", u"tall.png", u"square.png", u"wide.png"}));
  EXPECT_EQ(ControlGetText(kFileList), u"square.png");
  ClickTitle(2);
  ListEvents(kFileList);
  EXPECT_EQ(Column(2), (std::vector<std::u16string>{u"640 x 10", u"2 x 2", u"1 x 1", u""}));
}

TEST_F(ColumnListWin32, SelectionAndClicks) {
  Open(0);
  for (const char16_t* row : {u"a\n1", u"b\n2", u"c\n3"}) ControlAddItem(kFileList, -1, row);
  // The first click off the rows with nothing selected: the empty selection counts as
  // a change once; the click itself posts nothing.
  PostClickAt(List(), EmptyPoint());
  EXPECT_EQ(ListEvents(kFileList), (std::vector<int64_t>{DetailChange}));
  PostClickAt(List(), EmptyPoint());
  EXPECT_TRUE(ListEvents(kFileList).empty());

  Select(1);
  EXPECT_EQ(ListEvents(kFileList), (std::vector<int64_t>{DetailChange}));
  EXPECT_EQ(ControlGetState(kFileList), 1);
  EXPECT_EQ(ControlGetText(kFileList), u"b");
  // The row left and the row entered: one merged change.
  Select(2);
  EXPECT_EQ(ListEvents(kFileList), (std::vector<int64_t>{DetailChange}));
  // The keyboard focus moving alone is no change of the selection.
  LVITEMW focus{};
  focus.stateMask = LVIS_FOCUSED;
  focus.state = LVIS_FOCUSED;
  SendMessageW(List(), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&focus));
  EXPECT_TRUE(ListEvents(kFileList).empty());

  PostClickAt(List(), RowPoint(0));
  EXPECT_EQ(ListEvents(kFileList), (std::vector<int64_t>{DetailChange, DetailLeftClick}));
  EXPECT_EQ(ControlGetState(kFileList), 0);
  PostClickAt(List(), RowPoint(1), WM_RBUTTONDOWN);
  const std::vector<int64_t> right = ListEvents(kFileList);
  ASSERT_FALSE(right.empty());
  EXPECT_EQ(right.back(), DetailRightClick);

  // A double-click opens, on a row or off the rows; so does Enter on a selected row.
  PostClickAt(List(), RowPoint(0), WM_LBUTTONDBLCLK);
  EXPECT_EQ(ListEvents(kFileList), (std::vector<int64_t>{DetailLeftDoubleClick, DetailLeftClick}));
  PostClickAt(List(), EmptyPoint(), WM_LBUTTONDBLCLK);
  const std::vector<int64_t> off = ListEvents(kFileList);
  ASSERT_FALSE(off.empty());
  EXPECT_EQ(off.front() == DetailChange ? off[1] : off[0], DetailLeftDoubleClick);
  Select(0);
  ListEvents(kFileList);
  PostMessageW(List(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(ListEvents(kFileList), (std::vector<int64_t>{DetailLeftDoubleClick}));

  // A drag starts on a row; its release is no click.
  POINT from = RowPoint(0), to = from;
  to.y += 60;
  PostDrag(List(), from, to);
  EXPECT_EQ(ListEvents(kFileList), (std::vector<int64_t>{DetailDragStart}));
}

TEST_F(ColumnListWin32, AddingAndClearingRowsPostNothing) {
  Open(0);
  for (const char16_t* row : {u"a", u"b", u"c"}) ControlAddItem(kFileList, -1, row);
  Select(1);
  ListEvents(kFileList);
  ControlAddItem(kFileList, 0, u"new");  // moves the selected row down
  ControlClearItems(kFileList);          // and the selection goes
  EXPECT_EQ(Rows(), 0);
  EXPECT_EQ(ControlGetState(kFileList), -1);
  EXPECT_TRUE(ListEvents(kFileList).empty());
}

TEST_F(ColumnListWin32, NumberColumnsFitTheirNumbersBesideAFillingFirstColumn) {
  Open(0);
  ColumnListNumberColumn(kFileList, 1);
  HWND list = List();
  LVCOLUMNW format{};
  format.mask = LVCF_FMT;
  SendMessageW(list, LVM_GETCOLUMNW, 1, reinterpret_cast<LPARAM>(&format));
  EXPECT_EQ(format.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_RIGHT);
  RECT client{};
  GetClientRect(list, &client);
  EXPECT_EQ(Width(0) + Width(1), client.right);

  const std::u16string number = u"123456789012345678901234567890";
  ControlAddItem(kFileList, -1, u"name\n" + number);
  const LRESULT text = SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(number.c_str()));
  EXPECT_GT(Width(1), text);
  GetClientRect(list, &client);
  EXPECT_EQ(Width(0) + Width(1), client.right);
  for (int i = 0; i < 40; ++i) ControlAddItem(kFileList, -1, u"more\n1");
  ListEvents(kFileList);
  GetClientRect(list, &client);
  EXPECT_EQ(Width(0) + Width(1), client.right) << "with a scroll bar";
  ControlClearItems(kFileList);
  ListEvents(kFileList);
  GetClientRect(list, &client);
  EXPECT_EQ(Width(0) + Width(1), client.right) << "without";
  EXPECT_EQ(Width(1), MulDiv(100, UiDpiX(), 96));
}

}  // namespace
