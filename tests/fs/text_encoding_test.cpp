#include "fs/text_encoding.h"

#include <gtest/gtest.h>

TEST(TextEncoding, EscapedBytesRoundTripAnyByteString) {
  // Every single byte, plus sequences that are not valid UTF-8: truncated, overlong,
  // an encoded surrogate, a value above U+10FFFF.
  std::vector<std::string> samples = {"\xE9",
                                      "caf\xC3\xA9",
                                      "\xC3",
                                      "\xC0\xAF",
                                      "\xED\xA0\x80",
                                      "\xF4\x90\x80\x80",
                                      "a\xFF"
                                      "b\xFE",
                                      "\xF0\x9F\x98\x80"};
  for (int b = 0; b < 256; ++b) samples.push_back(std::string(1, static_cast<char>(b)));
  for (const auto& bytes : samples) {
    EXPECT_EQ(EscapedBytesFromText(TextFromEscapedBytes(bytes)), bytes);
  }
  EXPECT_EQ(TextFromEscapedBytes("\xE9"), std::u16string(1, char16_t(0xDCE9)));
  EXPECT_EQ(TextFromEscapedBytes("caf\xC3\xA9"), u"caf\u00E9");
  EXPECT_EQ(TextFromEscapedBytes("\xF0\x9F\x98\x80"), u"\U0001F600");
}

TEST(TextEncoding, LoneSurrogatesOutsideTheEscapeAreReplaced) {
  const std::u16string lone_high(1, char16_t(0xD800));
  EXPECT_EQ(EscapedBytesFromText(lone_high), "?");
  EXPECT_EQ(Utf8FromText(lone_high), "\xEF\xBF\xBD");
  // Strict UTF-8 does not honour the escape.
  EXPECT_EQ(Utf8FromText(std::u16string(1, char16_t(0xDCE9))), "\xEF\xBF\xBD");
  EXPECT_EQ(TextFromUtf8("a\xE9z"), u"a\uFFFDz");
  EXPECT_EQ(Utf8FromText(u"\u00E9\U0001F600"), "\xC3\xA9\xF0\x9F\x98\x80");
}
