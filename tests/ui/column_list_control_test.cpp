// The column list written once, over a view that keeps what it is told in plain
// vectors: no display, no window system.
#include "ui/column_list_control.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/column_list.h"
#include "ui/events.h"

namespace {

struct ShownRow {
  std::vector<std::u16string> cells;
  bool selected = false;
};

class RecordingView final : public ColumnListView {
 public:
  bool InsertColumn(int at, const std::u16string& title, int64_t width) override {
    if (refuse) return false;
    titles.insert(titles.begin() + at, title);
    widths.insert(widths.begin() + at, static_cast<int>(width));
    numbers.insert(numbers.begin() + at, false);
    return true;
  }
  void ShowAsNumbers(int column) override { numbers[static_cast<size_t>(column)] = true; }
  int ColumnWidth(int column) const override { return widths[static_cast<size_t>(column)]; }
  void SetColumnWidth(int column, int width) override { widths[static_cast<size_t>(column)] = width; }
  // Ten pixels a character.
  int CellWidth(std::u16string_view text) const override { return 10 * static_cast<int>(text.size()); }
  void ShowSortArrow(int column, bool descending) override { arrow = {column, descending}; }

  bool InsertRow(int at, std::span<const std::u16string> cells) override {
    if (refuse) return false;
    rows.insert(rows.begin() + at, {{cells.begin(), cells.end()}});
    return true;
  }
  void RewriteRow(int row, std::span<const std::u16string> cells) override {
    rows[static_cast<size_t>(row)].cells.assign(cells.begin(), cells.end());
  }
  void RemoveRow(int row) override {
    rows.erase(rows.begin() + row);
    if (current == row) current = -1;
    if (current > row) --current;
  }
  void ClearRows() override {
    rows.clear();
    current = -1;
  }
  void Reorder(std::span<const int> order) override {
    std::vector<ShownRow> sorted;
    int now = -1;
    for (size_t at = 0; at < order.size(); ++at) {
      sorted.push_back(rows[static_cast<size_t>(order[at])]);
      if (order[at] == current) now = static_cast<int>(at);
    }
    rows = sorted;
    current = now;
  }

  int FirstSelected() const override {
    const std::vector<int> selected = SelectedRows();
    return selected.empty() ? -1 : selected.front();
  }
  std::vector<int> SelectedRows() const override {
    std::vector<int> selected;
    for (size_t row = 0; row < rows.size(); ++row)
      if (rows[row].selected) selected.push_back(static_cast<int>(row));
    return selected;
  }
  void Select(int row, bool selected) override { rows[static_cast<size_t>(row)].selected = selected; }
  int CurrentRow() const override { return current; }
  void SetCurrentRow(int row) override { current = row; }
  int TopRow() const override { return rows.empty() ? -1 : top; }
  void ScrollToTop(int row) override { top = row; }

  void SetMark(ColumnListMark mark, int64_t value) override { marks[mark] = value; }
  int64_t Mark(ColumnListMark mark) const override {
    const auto found = marks.find(mark);
    return found == marks.end() ? 0 : found->second;
  }

  std::vector<std::u16string> Column(size_t column) const {
    std::vector<std::u16string> texts;
    for (const ShownRow& row : rows) texts.push_back(row.cells[column]);
    return texts;
  }

  bool refuse = false;
  std::vector<std::u16string> titles;
  std::vector<int> widths;
  std::vector<bool> numbers;
  std::pair<int, bool> arrow{-1, false};
  std::vector<ShownRow> rows;
  int current = -1;
  int top = 0;
  std::map<ColumnListMark, int64_t> marks;
};

using Texts = std::vector<std::u16string>;

// A list "Name" 250 wide with a number column "Size" 100 wide, as the window has it.
struct ColumnListControlTest : ::testing::Test {
  void Open(uint32_t flags) {
    auto recording = std::make_unique<RecordingView>();
    view = recording.get();
    list = std::make_unique<ColumnListControl>(std::move(recording), flags & kColumnListSorted);
    ColumnListAddColumn(*list, 0, u"Name", 250);
    ColumnListAddColumn(*list, 1, u"Size", 100);
    ColumnListSetNumbers(*list, 1, std::nullopt);
  }
  void Add(std::initializer_list<const char16_t*> texts) {
    for (const char16_t* text : texts) ColumnListAddRow(*list, -1, text);
  }
  // The list's own rows and the view's agree; the first column's texts.
  Texts Names() const {
    Texts names;
    for (size_t row = 0; row < list->rows.size(); ++row) names.push_back(list->rows[row].cells[0]);
    EXPECT_EQ(view->Column(0), names);
    return names;
  }
  std::vector<int64_t> React(int32_t code, int64_t item = -1, bool was = false, bool is = false) {
    return ColumnListReact(*list, {NoticeKind::kNotify, code, item, was, is}).value_or(std::vector<int64_t>{-99});
  }

  std::unique_ptr<ColumnListControl> list;
  RecordingView* view = nullptr;
};

TEST_F(ColumnListControlTest, CellsTitlesAndColumnsPutInFront) {
  Open(0);
  Add({u"pic.png\n5368709120\n", u"", u"last\n\nextra"});
  ColumnListAddRow(*list, 1, u"second");
  EXPECT_EQ(Names(), (Texts{u"pic.png", u"second", u"", u"last"}));
  EXPECT_EQ(view->Column(1), (Texts{u"5368709120", u"", u"", u""}));
  EXPECT_EQ(ColumnListCellText(*list, 0, 1), u"5368709120");
  for (const auto& [row, column] : std::vector<std::pair<int64_t, int64_t>>{{0, 2}, {4, 0}, {-2, 0}, {0, -1}})
    EXPECT_EQ(ColumnListCellText(*list, row, column), u"") << row << "," << column;
  // Titles read as a header gives them: cut to the buffer a header is read into.
  ColumnListAddColumn(*list, 2, std::u16string(5000, u't'), 10);
  EXPECT_EQ(ColumnListCellText(*list, -1, 2).size(), 4095u);
  // A column put in front moves the cells right, the list's and the view's alike.
  ColumnListAddColumn(*list, 0, u"Tag", 40);
  ColumnListAddColumn(*list, -5, u"refused", 40);
  EXPECT_EQ(view->titles.size(), 4u);
  EXPECT_EQ(ColumnListCellText(*list, -1, 2), u"Size");
  EXPECT_EQ(view->Column(0), (Texts{u"", u"", u"", u""}));
  EXPECT_EQ(view->Column(1), (Texts{u"pic.png", u"second", u"", u"last"}));
  EXPECT_EQ(ColumnListCellText(*list, 0, 2), u"5368709120");
  // Rows the widget refuses are not kept.
  view->refuse = true;
  ColumnListAddRow(*list, -1, u"refused");
  ColumnListAddColumn(*list, 9, u"refused", 40);
  EXPECT_EQ(list->rows.size(), 4u);
  EXPECT_EQ(list->columns.size(), 4u);
}

TEST_F(ColumnListControlTest, SortedRowsTakeTheirPlaceAndTitleClicksSortAndReverse) {
  Open(kColumnListSorted);
  EXPECT_EQ(view->arrow, std::make_pair(0, false));
  Add({u"img10.png\n10", u"IMG1.png\n2", u"img2.png\n300", u"img2.png\n1"});
  // Names as people read them; rows alike keep the order they came in.
  EXPECT_EQ(Names(), (Texts{u"IMG1.png", u"img2.png", u"img2.png", u"img10.png"}));
  EXPECT_EQ(view->Column(1), (Texts{u"2", u"300", u"1", u"10"}));
  view->rows[2].selected = true;  // img2.png with 1
  view->current = 2;
  EXPECT_EQ(React(kListColumnClick, 1), std::vector<int64_t>{DetailColumnClick});
  EXPECT_EQ(view->Mark(ColumnListMark::kClickedColumn), 1);
  EXPECT_EQ(view->Column(1), (Texts{u"1", u"2", u"10", u"300"}));
  EXPECT_EQ(view->arrow, std::make_pair(1, false));
  EXPECT_TRUE(view->rows[0].selected);
  EXPECT_EQ(view->current, 0);
  React(kListColumnClick, 1);
  EXPECT_EQ(view->Column(1), (Texts{u"300", u"10", u"2", u"1"}));
  EXPECT_EQ(view->arrow, std::make_pair(1, true));
  // A new row joins the order shown; a column put in front keeps the order's column.
  ColumnListAddRow(*list, 0, u"new\n20");
  EXPECT_EQ(view->Column(1), (Texts{u"300", u"20", u"10", u"2", u"1"}));
  ColumnListAddColumn(*list, 0, u"Tag", 40);
  EXPECT_EQ(view->arrow, std::make_pair(2, true));
  React(kListColumnClick, 2);
  EXPECT_EQ(view->Column(2), (Texts{u"1", u"2", u"10", u"20", u"300"}));
  // By name again: rows alike there go in the order they came, not as they stood.
  React(kListColumnClick, 1);
  EXPECT_EQ(view->Column(2), (Texts{u"2", u"300", u"1", u"10", u"20"}));
  // A click beyond the columns sorts nothing.
  React(kListColumnClick, 7);
  EXPECT_EQ(view->arrow, std::make_pair(1, false));
}

TEST_F(ColumnListControlTest, NumberColumnsWidenToTheirNumbersAndGoBackWhenCleared) {
  Open(0);
  EXPECT_TRUE(view->numbers[1]);
  Add({u"a\n123456789012345"});  // 150 pixels
  EXPECT_EQ(view->widths[1], 150);
  Add({u"b\n1"});
  EXPECT_EQ(view->widths[1], 150);
  EXPECT_EQ(view->widths[0], 250);  // names are no numbers
  ColumnListClear(*list);
  EXPECT_EQ(view->widths[1], 100);
  EXPECT_TRUE(list->rows.empty());
}

TEST_F(ColumnListControlTest, AnUpdateKeepsTheSelectionCurrentRowAndTopRowByName) {
  Open(kColumnListSorted);
  ColumnListAddColumn(*list, 2, u"Dimensions", 80);
  ColumnListSetNumbers(*list, 2, ColumnSort::kPixelCount);
  ColumnListUpdateRows(*list, {u"a.png\n1\n", u"b.png\n2\n", u"c.png\n3\n", u"d.png\n4\n"});
  view->rows[3].selected = true;
  view->current = 3;
  view->top = 3;
  React(kListColumnClick, 2);  // by dimensions: none known yet, so by name
  EXPECT_EQ(Names(), (Texts{u"a.png", u"b.png", u"c.png", u"d.png"}));
  // a goes; d's size becomes known and moves it to the end; c is rewritten in place.
  ColumnListUpdateRows(*list, {u"b.png\n2\n", u"c.png\n5\n", u"d.png\n4\n9 x 9", u"e.png\n1\n1 x 1", u"0.png\n1\n"});
  EXPECT_EQ(Names(), (Texts{u"0.png", u"b.png", u"c.png", u"e.png", u"d.png"}));
  EXPECT_EQ(view->Column(1)[2], u"5");
  EXPECT_EQ(view->SelectedRows(), std::vector<int>{4});
  EXPECT_EQ(view->current, 4);
  EXPECT_EQ(view->top, 4);  // d stood at the top, and stays there
  EXPECT_EQ(view->widths[2], 80);
}

TEST_F(ColumnListControlTest, ReportsBecomeEventsAndKeepTheMarks) {
  Open(0);
  Add({u"a", u"b"});
  // No row selected: the first click reports the empty selection once, none after.
  EXPECT_EQ(React(kListClick), std::vector<int64_t>{DetailChange});
  EXPECT_EQ(view->Mark(ColumnListMark::kLastSelected), -1);
  EXPECT_EQ(React(kListClick), std::vector<int64_t>{});
  EXPECT_EQ(React(kListRightClick), std::vector<int64_t>{DetailRightClick});
  view->rows[1].selected = true;
  EXPECT_EQ(React(kListItemChanged, 1, false, true), std::vector<int64_t>{DetailChange});
  EXPECT_EQ(view->Mark(ColumnListMark::kLastSelected), 1);
  EXPECT_EQ(React(kListItemChanged, 0, true, false), std::vector<int64_t>{DetailChange});
  EXPECT_EQ(React(kListItemChanged, 0), std::vector<int64_t>{});  // no change of selection
  EXPECT_EQ(React(kListClick), std::vector<int64_t>{DetailLeftClick});
  EXPECT_EQ(React(kListReturn), std::vector<int64_t>{DetailLeftDoubleClick});
  EXPECT_EQ(React(kListDoubleClick), std::vector<int64_t>{DetailLeftDoubleClick});
  EXPECT_EQ(React(kListRightDoubleClick), std::vector<int64_t>{DetailRightDoubleClick});
  // The click that ends a drag is none; the next press starts afresh.
  EXPECT_EQ(React(kListBeginDrag, 1), std::vector<int64_t>{DetailDragStart});
  EXPECT_EQ(React(kListClick), std::vector<int64_t>{});
  EXPECT_EQ(React(kListClick), std::vector<int64_t>{DetailLeftClick});
  React(kListBeginDrag, 1);
  EXPECT_EQ(React(kListPress), std::vector<int64_t>{});
  EXPECT_EQ(React(kListClick), std::vector<int64_t>{DetailLeftClick});
  // Enter without a selected row, other codes and commands are left to the system.
  view->rows[1].selected = false;
  EXPECT_EQ(React(kListReturn), std::vector<int64_t>{});
  EXPECT_EQ(React(-12), std::vector<int64_t>{-99});
  EXPECT_FALSE(ColumnListReact(*list, {NoticeKind::kCommand, 1}).has_value());
}

// The table the window systems register, over a record: the selected row's first cell,
// never the title a row of -1 reads; a record whose control is still being made answers
// as an empty list.
TEST(ColumnListTable, TheSelectedRowsFirstCellAndAnEmptyListBeforeTheState) {
  ControlRecord record;
  auto owned = std::make_unique<RecordingView>();
  RecordingView& view = *owned;
  const ControlOps& ops = kColumnListOps;
  EXPECT_EQ(ops.add_item(record, -1, u"early", 0), 0);
  EXPECT_EQ(ops.get_state(record), -1);
  EXPECT_EQ(ops.get_text(record), u"");
  EXPECT_EQ(ops.get_item_text(record, -1, 0), u"");
  ColumnListStart(record, std::move(owned), 0, u"Name", 250);
  ops.add_column(record, 1, u"Size", 100);
  ops.add_item(record, -1, u"a.png\n10", 0);
  ops.add_item(record, 0, u"b.png\n20", 0);
  EXPECT_EQ(view.Column(0), (Texts{u"b.png", u"a.png"}));
  EXPECT_EQ(ops.get_text(record), u"");  // nothing selected: not the title
  EXPECT_EQ(ops.get_item_text(record, -1, 1), u"Size");
  view.Select(1, true);
  EXPECT_EQ(ops.get_state(record), 1);
  EXPECT_EQ(ops.get_text(record), u"a.png");
  EXPECT_EQ(ops.get_item_text(record, 1, 1), u"10");
  ops.clear_items(record);
  EXPECT_TRUE(view.rows.empty());
  EXPECT_EQ(ops.get_text(record), u"");
}

}  // namespace
