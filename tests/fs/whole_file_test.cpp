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

TEST_F(WholeFile, RefusesTwoGibibytesWithoutReadingThem) {
  const auto path = folder_ / "huge";
  std::ofstream(path).close();
  std::filesystem::resize_file(path, kWholeFileLimit);  // sparse: costs no disk
  EXPECT_FALSE(ReadWholeFile(Path("huge")));
}

}  // namespace
