#include "ui/column_list_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Cells = std::vector<std::vector<std::u16string>>;

// The put-ins as "text<-row" for reading.
std::vector<std::u16string> PutIns(const std::vector<ColumnListEdit::PutIn>& puts) {
  std::vector<std::u16string> put;
  for (const ColumnListEdit::PutIn& in : puts)
    put.push_back(*in.text + u"<-" + (in.replaces < 0 ? u"new" : std::u16string(1, char16_t(u'0' + in.replaces))));
  return put;
}

TEST(ColumnListModel, RowsSplitIntoOnePiecePerLineFeed) {
  using Pieces = std::vector<std::u16string_view>;
  EXPECT_EQ(ColumnRowPieces(u""), Pieces{u""});
  EXPECT_EQ(ColumnRowPieces(u"a.png"), Pieces{u"a.png"});
  EXPECT_EQ(ColumnRowPieces(u"a.png\n12\n"), (Pieces{u"a.png", u"12", u""}));
  EXPECT_EQ(ColumnRowPieces(u"\n\nx"), (Pieces{u"", u"", u"x"}));
}

TEST(ColumnListModel, RowsThatMoveInTheOrderGoOutBeforeAnythingComesInOthersAreRewrittenInPlace) {
  const Cells shown = {
      {u"a", u"1", u""}, {u"b", u"2", u""}, {u"c", u"3", u""}, {u"d", u"4", u"5 x 5"}, {u"f", u"6", u"1 x 1"}};
  // b is gone; c changes its last cell; d's text has no piece for the last column (an
  // empty cell there); f changes its size only; e is new; a stays as it is (its second
  // text counts for nothing).
  const std::vector<std::u16string> rows = {u"e\n9\n", u"a\n1\n", u"c\n3\n2 x 2", u"d\n4", u"f\n8\n1 x 1", u"a\n7\n"};
  // Sorted by the last column: c and d move, f is rewritten where it stands.
  const ColumnListEdit by_dimensions = ColumnListEditFor(shown, rows, 2);
  EXPECT_EQ(PutIns(by_dimensions.rewrite), std::vector<std::u16string>{u"f\n8\n1 x 1<-4"});
  EXPECT_EQ(by_dimensions.take_out, (std::vector<int>{3, 2, 1}));  // last first
  EXPECT_EQ(PutIns(by_dimensions.put_in), (std::vector<std::u16string>{u"d\n4<-3", u"c\n3\n2 x 2<-2", u"e\n9\n<-new"}));
  // Sorted by name, or not at all: no row that stays moves.
  for (const int sort_column : {0, -1}) {
    const ColumnListEdit edit = ColumnListEditFor(shown, rows, sort_column);
    EXPECT_EQ(PutIns(edit.rewrite), (std::vector<std::u16string>{u"f\n8\n1 x 1<-4", u"d\n4<-3", u"c\n3\n2 x 2<-2"}));
    EXPECT_EQ(edit.take_out, std::vector<int>{1});
    EXPECT_EQ(PutIns(edit.put_in), std::vector<std::u16string>{u"e\n9\n<-new"});
  }
}

TEST(ColumnListModel, RowsThatShowTheirTextStayAndPiecesPastTheColumnsCountForNothing) {
  const Cells shown = {{u"a", u"1"}, {u"b", u"2"}};
  const ColumnListEdit same = ColumnListEditFor(shown, {u"b\n2\nignored", u"a\n1"}, 1);
  EXPECT_TRUE(same.take_out.empty());
  EXPECT_TRUE(same.put_in.empty());
  EXPECT_TRUE(same.rewrite.empty());
  // A name shown twice: the first row from the end keeps it, the other goes.
  const ColumnListEdit twice = ColumnListEditFor({{u"a", u"1"}, {u"a", u"1"}}, {u"a\n1"}, 0);
  EXPECT_EQ(twice.take_out, std::vector<int>{0});
  EXPECT_TRUE(twice.put_in.empty());
  // Everything gone from a list; everything new in an empty one, in the order given.
  EXPECT_EQ(ColumnListEditFor(shown, {}, 0).take_out, (std::vector<int>{1, 0}));
  EXPECT_EQ(PutIns(ColumnListEditFor({}, {u"z", u"y", u"z\n2"}, 0).put_in),
            (std::vector<std::u16string>{u"z<-new", u"y<-new"}));
}

TEST(ColumnListModel, APlaceGoesAfterTheRowsItSortsAlikeWith) {
  const std::vector<int> keys = {1, 3, 3, 3, 7};
  const auto place = [&](int key) {
    return ColumnListPlaceFor(static_cast<int>(keys.size()),
                              [&](int row) { return key - keys[static_cast<size_t>(row)]; });
  };
  EXPECT_EQ(place(0), 0);
  EXPECT_EQ(place(3), 4);
  EXPECT_EQ(place(5), 4);
  EXPECT_EQ(place(9), 5);
  EXPECT_EQ(ColumnListPlaceFor(0, [](int) { return 0; }), 0);
}

}  // namespace
