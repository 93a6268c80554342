// The byte transfers under the line operations, for reads larger than any line reader asks.
#include <gtest/gtest.h>

#include <string>

#include "fs/file_record.h"
#include "fs/files.h"
#include "support/temp_folder.h"

namespace {

TEST(FileBuffer, ReadsOfAnySizeJoinBufferAndSystemSeamlessly) {
  TempFolder dir;
  std::string bytes;
  for (int i = 0; i < 20000; ++i) bytes.push_back(static_cast<char>('a' + i % 26));
  dir.Put("f", bytes);
  for (const uint32_t flags : {0u, OpenFlag::Unbuffered}) {
    SCOPED_TRACE(flags);
    ASSERT_NE(FileOpen(1, dir.Text("f"), flags), 0);
    FileRecord* record = FileFind(1);
    ASSERT_NE(record, nullptr);
    std::string got(20000, '\0');
    // Ten from a refill, then more than a buffer (straight from the system), then a piece
    // that needs a refill, then past the end.
    EXPECT_EQ(FileReadBytes(*record, got.data(), 10), 10);
    EXPECT_EQ(FileReadBytes(*record, got.data() + 10, 9000), 9000);
    EXPECT_EQ(FileReadBytes(*record, got.data() + 9010, 100), 100);
    EXPECT_EQ(FileReadBytes(*record, got.data() + 9110, 15000), 20000 - 9110);
    EXPECT_EQ(got, bytes);
    FileCloseAll();
  }
}

}  // namespace
