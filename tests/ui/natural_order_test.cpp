// Names in the order people read them, the same on every window system.
#include <gtest/gtest.h>

#include <string>

#include "ui/natural_order.h"

namespace {

TEST(NaturalOrder, ReadsNumbersByValueAndIgnoresCase) {
  EXPECT_LT(NaturalCompare(u"img2", u"img10"), 0);
  EXPECT_GT(NaturalCompare(u"img10", u"img2"), 0);
  EXPECT_LT(NaturalCompare(u"Apple", u"banana"), 0);
  EXPECT_LT(NaturalCompare(u"\u00E9a", u"\u00C9b"), 0);  // beyond ASCII too
  EXPECT_LT(NaturalCompare(u"a", u"a1"), 0);
  EXPECT_LT(NaturalCompare(u"99", u"100"), 0);
  EXPECT_LT(NaturalCompare(u"x9y", u"x10a"), 0);
  EXPECT_LT(NaturalCompare(u"18446744073709551616", u"18446744073709551617"), 0);  // beyond 64 bits
  // Alike to a reader, yet in a fixed order: equal only when the same.
  EXPECT_EQ(NaturalCompare(u"img2", u"img2"), 0);
  EXPECT_NE(NaturalCompare(u"img2", u"IMG2"), 0);
  EXPECT_EQ(NaturalCompare(u"img2", u"IMG2"), -NaturalCompare(u"IMG2", u"img2"));
  EXPECT_LT(NaturalCompare(u"img2", u"img02"), 0);
  EXPECT_LT(NaturalCompare(u"img02", u"img3"), 0);
  // Bytes of names that are not UTF-8 still compare.
  const std::u16string odd{u'a', char16_t(0xDCFF)};
  EXPECT_NE(NaturalCompare(odd, u"a"), 0);
}

}  // namespace
