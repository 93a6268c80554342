#include "fs/text.h"
#include "fs/memory_block.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

TEST(Text, TailClampsAndKeepsCase) {
  EXPECT_EQ(TextTail(u"photo.png", 3), u"png");
  EXPECT_EQ(TextTail(u"photo.png", 20), u"photo.png");
  EXPECT_EQ(TextTail(u"photo.png", -1), u"");
  EXPECT_EQ(TextTail(u"a.PNG", 3), u"PNG");
  EXPECT_EQ(TextEquals(TextTail(u"a.PNG", 3), u"png"), 0);
  EXPECT_EQ(TextEquals(std::u16string(), u""), 1);
  // Lengths count code units: a character above U+FFFF is two.
  EXPECT_EQ(TextLength(u"\U0001F600"), 2);
}

TEST(Text, DecimalTextCoversTheWholeRange) {
  EXPECT_EQ(DecimalText(0), u"0");
  EXPECT_EQ(DecimalText(-1), u"-1");
  EXPECT_EQ(DecimalText(640), u"640");
  EXPECT_EQ(DecimalText(std::numeric_limits<int64_t>::max()), u"9223372036854775807");
  EXPECT_EQ(DecimalText(std::numeric_limits<int64_t>::min()), u"-9223372036854775808");
}

TEST(MemoryBlock, AllocatesZeroFilledAndCopies) {
  EXPECT_EQ(MemoryAllocate(0), nullptr);
  EXPECT_EQ(MemoryAllocate(-4), nullptr);
  auto* one = static_cast<unsigned char*>(MemoryAllocate(1));
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(one[0], 0);
  char buffer[8] = {};
  char* end = static_cast<char*>(MemoryCopy("abc", buffer, 3));
  EXPECT_EQ(end, buffer + 3);
  EXPECT_STREQ(buffer, "abc");
  MemoryFree(one);
}
