#include "ui/column_order.h"

#include <gtest/gtest.h>

#include <iterator>

namespace {

int Compare(ColumnSort sort, std::u16string_view a, std::u16string_view b) {
  return ColumnRowsCompare(sort, a, u"same.png", b, u"same.png");
}

TEST(ColumnOrder, DimensionsSortByPixelCountNotByWidth) {
  // 100 x 1000 has more pixels than 640 x 100, though it is narrower.
  EXPECT_LT(Compare(ColumnSort::kPixelCount, u"640 x 100", u"100 x 1000"), 0);
  EXPECT_GT(Compare(ColumnSort::kPixelCount, u"100 x 1000", u"640 x 100"), 0);
  // Sorted by names instead, the width's number decides.
  EXPECT_GT(Compare(ColumnSort::kNames, u"640 x 100", u"100 x 1000"), 0);
  // The largest dimensions a header can state multiply without overflow.
  EXPECT_LT(Compare(ColumnSort::kPixelCount, u"4294967295 x 4294967294", u"4294967295 x 4294967295"), 0);
}

TEST(ColumnOrder, CellsThatAreNoDimensionsComeFirstAndTiesGoByTheFirstColumn) {
  const std::u16string_view others[] = {u"", u"?", u"640 x", u"x 480", u"640x480", u"-1 x 5", u"99999999999 x 1"};
  for (size_t i = 0; i < std::size(others); ++i)
    EXPECT_LT(Compare(ColumnSort::kPixelCount, others[i], u"1 x 1"), 0) << "case " << i;
  // One pixel count: the names decide, as people read them.
  EXPECT_LT(ColumnRowsCompare(ColumnSort::kPixelCount, u"640 x 480", u"img2.png", u"480 x 640", u"img10.png"), 0);
  EXPECT_GT(ColumnRowsCompare(ColumnSort::kPixelCount, u"640 x 480", u"img10.png", u"640 x 480", u"img2.png"), 0);
  EXPECT_LT(ColumnRowsCompare(ColumnSort::kPixelCount, u"", u"a.png", u"", u"b.png"), 0);
  EXPECT_EQ(ColumnRowsCompare(ColumnSort::kPixelCount, u"2 x 2", u"a.png", u"2 x 2", u"a.png"), 0);
}

}  // namespace
