#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "tests/fs/whole_file_fixture.h"

namespace {

TEST_F(WholeFile, ReadsEveryByte) {
  std::string bytes(70000, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
  std::ofstream(folder_ / "a.bin", std::ios::binary) << bytes;
  const auto file = ReadWholeFile(Path("a.bin"));
  ASSERT_TRUE(file);
  ASSERT_EQ(file->size, bytes.size());
  EXPECT_EQ(0, std::memcmp(file->data.get(), bytes.data(), bytes.size()));

  std::ofstream(folder_ / "empty");
  const auto empty = ReadWholeFile(Path("empty"));
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->size, 0u);
}

// Readers in pieces take the size from the open and read at offsets, wherever the file's
// position is; past the end there is nothing, and a read reaching it comes up short.
TEST_F(WholeFile, OpenedFileReadsAtAnyOffset) {
  std::string bytes(70000, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 13 + i / 256);
  std::ofstream(folder_ / "a.bin", std::ios::binary) << bytes;
  auto opened = OpenWholeFile(Path("a.bin"));
  ASSERT_TRUE(opened);
  EXPECT_EQ(opened->size, bytes.size());
  std::string piece(5000, '\0');
  for (const int64_t offset : {int64_t{65000}, int64_t{0}, int64_t{4096}, int64_t{69999}, int64_t{70000}}) {
    const int64_t expected = std::min<int64_t>(5000, 70000 - offset);
    EXPECT_EQ(opened->file.ReadAt(offset, piece.data(), 5000), expected) << offset;
    EXPECT_EQ(piece.substr(0, static_cast<size_t>(expected)),
              bytes.substr(static_cast<size_t>(offset), static_cast<size_t>(expected)))
        << offset;
  }
  EXPECT_EQ(opened->file.ReadAt(80000, piece.data(), 10), 0);
}

TEST_F(WholeFile, RefusesTwoGibibytesWithoutReadingThem) {
  const auto path = folder_ / "huge";
  std::ofstream(path).close();
  std::filesystem::resize_file(path, kWholeFileLimit);  // sparse: costs no disk
  EXPECT_FALSE(ReadWholeFile(Path("huge")));
}

}  // namespace
