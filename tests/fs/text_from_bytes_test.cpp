#include "fs/text_from_bytes.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

namespace {

TEST(TextFromBytes, Utf8LengthCountsCharactersUnlessCountBytes) {
  const std::string bytes =
      "\xC3\xA9"
      "bcdef";
  EXPECT_EQ(TextFromBytes(bytes.data(), 3, TextFormat::Utf8), u"\u00E9bc");
  EXPECT_EQ(TextFromBytes(bytes.data(), 3, TextFormat::Utf8 | TextFlag::CountBytes), u"\u00E9b");
  // A malformed lead byte is stepped over uncounted but still converted (as U+FFFD).
  const std::string bad =
      "\xFF"
      "ab\xE2\x82"
      "cd";
  EXPECT_EQ(TextFromBytes(bad.data(), 2, TextFormat::Utf8), u"\uFFFDab");
  EXPECT_EQ(TextFromBytes(bad.data(), 4, TextFormat::Utf8), u"\uFFFDab\uFFFD\uFFFDcd");
  const std::string four = "\xF0\x9F\x98\x80!";
  EXPECT_EQ(TextFromBytes(four.data(), 1, TextFormat::Utf8), u"\U0001F600");
}

TEST(TextFromBytes, StopsAtAZeroInsideTheLength) {
  const std::string bytes = "ab\0cd"s;
  for (const int format : {TextFormat::Utf8, TextFormat::Utf8 | TextFlag::CountBytes, TextFormat::Ansi, 0}) {
    EXPECT_EQ(TextFromBytes(bytes.data(), 5, format), u"ab") << format;
    EXPECT_EQ(TextFromBytes(bytes.data(), -1, format), u"ab") << format;
  }
  const std::u16string units = u"xy\0z"s;
  EXPECT_EQ(TextFromBytes(units.data(), 4, TextFormat::Utf16), u"xy");
  EXPECT_EQ(TextFromBytes(units.data(), -1, TextFormat::Utf16), u"xy");
  EXPECT_EQ(TextFromBytes(units.data(), 1, TextFormat::Utf16), u"x");
}

TEST(TextFromBytes, NegativeLengthsAndNullAddressGiveNothing) {
  EXPECT_EQ(TextFromBytes("abc", -2, TextFormat::Ansi), u"");
  EXPECT_EQ(TextFromBytes("abc", 0, TextFormat::Utf8), u"");
  EXPECT_EQ(TextFromBytes(nullptr, 5, TextFormat::Utf8), u"");
}

}  // namespace
