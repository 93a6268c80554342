#include "fs/listings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "fs/files.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

struct Entry {
  EntryKind kind;
  int64_t size;
  bool operator==(const Entry&) const = default;
};

class Listing : public testing::Test {
 protected:
  void TearDown() override {
    ListingCloseAll();
    FileCloseAll();
  }

  // Every entry of one listing, by name.
  std::map<std::u16string, Entry> List(const std::u16string& folder, const std::u16string& pattern) {
    std::map<std::u16string, Entry> entries;
    const int64_t id = ListingOpen(kAutoNumber, folder, pattern);
    EXPECT_LT(id, -1);
    while (ListingNext(id)) entries[ListingName(id)] = {ListingKind(id), ListingSize(id)};
    EXPECT_EQ(ListingNext(id), 0);
    EXPECT_EQ(ListingClose(id), 1);
    EXPECT_EQ(ListingClose(id), 0);
    return entries;
  }
  std::set<std::u16string> ListNames(const std::u16string& folder, const std::u16string& pattern) {
    std::set<std::u16string> names;
    for (const auto& [name, entry] : List(folder, pattern)) names.insert(name);
    return names;
  }

  TempFolder dir;
};

using Names = std::set<std::u16string>;

TEST_F(Listing, ReportsKindAndSizeOfEveryEntry) {
  dir.Put("a.png", "12345");
  fs::create_directory(dir.Path("sub"));
  fs::create_directory_symlink(dir.Path("sub"), dir.Path("link"));
  fs::create_symlink(dir.Path("nowhere"), dir.Path("broken"));
  fs::create_symlink(dir.Path("loop"), dir.Path("loop"));
  ASSERT_EQ(mkfifo(dir.Path("fifo").c_str(), 0600), 0);
  dir.Put("big", "");
  fs::resize_file(dir.Path("big"), 5000000000);  // sparse: takes no room

  // Sizes are checked for files; a folder's size is the file system's own.
  const std::map<std::u16string, Entry> expected = {
      {u".", {EntryKind::Directory, 0}},       {u"..", {EntryKind::Directory, 0}},
      {u"a.png", {EntryKind::File, 5}},        {u"sub", {EntryKind::Directory, 0}},
      {u"link", {EntryKind::Directory, 0}},    {u"broken", {EntryKind::File, 0}},
      {u"loop", {EntryKind::File, 0}},         {u"fifo", {EntryKind::File, 0}},
      {u"big", {EntryKind::File, 5000000000}},
  };
  auto listed = List(dir.Text(), u"");
  EXPECT_EQ(listed.size(), expected.size());
  for (const auto& [name, entry] : expected) {
    SCOPED_TRACE(std::string(name.begin(), name.end()));
    ASSERT_TRUE(listed.count(name));
    EXPECT_EQ(listed[name].kind, entry.kind);
    if (entry.kind == EntryKind::File) {
      EXPECT_EQ(listed[name].size, entry.size);
    }
  }
  // An empty folder holds exactly its two folder entries.
  const auto empty = List(dir.Text("sub"), u"*.*");
  EXPECT_EQ(empty.size(), 2u);
  EXPECT_EQ(empty.at(u".").kind, EntryKind::Directory);
  EXPECT_EQ(empty.at(u"..").kind, EntryKind::Directory);
}

TEST_F(Listing, PatternsMatchWildcardsWithoutRegardToCase) {
  for (const char* name : {"a.png", "B.PNG", "c.jpg", "noext", "ab.png", "x.png.bak"}) dir.Put(name, "");
  EXPECT_EQ(ListNames(dir.Text(), u"*.png"), (Names{u"a.png", u"B.PNG", u"ab.png"}));
  EXPECT_EQ(ListNames(dir.Text(), u"?.PnG"), (Names{u"a.png", u"B.PNG"}));
  EXPECT_EQ(ListNames(dir.Text(), u"*b*"), (Names{u"B.PNG", u"ab.png", u"x.png.bak"}));
  EXPECT_EQ(ListNames(dir.Text(), u"noext"), (Names{u"noext"}));
  EXPECT_EQ(ListNames(dir.Text(), u"*.*").count(u"noext"), 1u);
  EXPECT_EQ(ListNames(dir.Text(), u"*.*"), ListNames(dir.Text(), u""));
  // A folder path with its final "/" gives the same search; a pattern may name a subfolder.
  EXPECT_EQ(ListNames(dir.Text() + u"/", u"*.png"), ListNames(dir.Text(), u"*.png"));
  fs::create_directory(dir.Path("sub"));
  dir.Put("sub/inner.png", "");
  EXPECT_EQ(ListNames(dir.Text(), u"sub/*.png"), (Names{u"inner.png"}));
  // The current folder for an empty path.
  const fs::path old = fs::current_path();
  fs::current_path(dir.Path("sub"));
  EXPECT_EQ(ListNames(u"", u"*.png"), (Names{u"inner.png"}));
  fs::current_path(old);
}

TEST_F(Listing, FolderWhereNothingMatchesOpensWithoutEntries) {
  dir.Put("a.png", "");
  ASSERT_EQ(ListingOpen(0, dir.Text(), u"*.gif"), 1);
  EXPECT_EQ(ListingNext(0), 0);
  EXPECT_EQ(ListingName(0), u"");
  EXPECT_EQ(ListingClose(0), 1);
}

TEST_F(Listing, FirstEntryIsCurrentFromTheOpen) {
  dir.Put("only.txt", "abc");
  ASSERT_NE(ListingOpen(1, dir.Text(), u"*.txt"), 0);
  EXPECT_EQ(ListingName(1), u"only.txt");
  EXPECT_EQ(ListingKind(1), EntryKind::File);
  EXPECT_EQ(ListingSize(1), 3);
  EXPECT_EQ(ListingNext(1), 1);
  EXPECT_EQ(ListingName(1), u"only.txt");
  EXPECT_EQ(ListingNext(1), 0);
  EXPECT_EQ(ListingNext(1), 0);
}

size_t OpenDescriptors() {
  return static_cast<size_t>(std::distance(fs::directory_iterator("/proc/self/fd"), {}));
}

TEST_F(Listing, FailedOpensLeaveTheNumberFreeAndCloseWhatItHeld) {
  dir.Put("file", "x");
  const size_t before = OpenDescriptors();
  ASSERT_EQ(ListingOpen(2, dir.Text(), u""), 1);
  const size_t open = OpenDescriptors();
  EXPECT_EQ(open, before + 1);
  ASSERT_EQ(ListingOpen(2, dir.Text(), u""), 1);  // the old search is closed first
  EXPECT_EQ(OpenDescriptors(), open);

  for (const std::u16string& path : {dir.Text("missing"), dir.Text("file"), dir.Text("cut") + u'\0'}) {
    EXPECT_EQ(ListingOpen(2, path, u""), 0);
    EXPECT_EQ(ListingNext(2), 0);
    EXPECT_EQ(ListingName(2), u"");
    EXPECT_EQ(ListingKind(2), EntryKind::None);
    EXPECT_EQ(ListingSize(2), 0);
    EXPECT_EQ(ListingClose(2), 0);
  }
  EXPECT_EQ(OpenDescriptors(), before);
  EXPECT_EQ(ListingOpen(kAutoNumber, dir.Text(), std::u16string(u"fi\0*", 4)), 0);
  EXPECT_EQ(ListingOpen(-7, dir.Text(), u""), 0);
}

TEST_F(Listing, NamesThatAreNotUtf8RoundTrip) {
  dir.Put("\xE9.png", "content\r\n");
  const int64_t id = ListingOpen(kAutoNumber, dir.Text(), u"*.png");
  ASSERT_NE(id, 0);
  ASSERT_NE(ListingNext(id), 0);
  const std::u16string name = ListingName(id);
  EXPECT_EQ(name, u"\xDCE9.png");
  ASSERT_NE(FileOpen(3, dir.Text() + u"/" + name, 0), 0);
  EXPECT_EQ(FileReadLine(3, 0), u"content");
  EXPECT_EQ(ListingClose(id), 1);
}

TEST_F(Listing, CloseAllEndsEveryListing) {
  const int64_t a = ListingOpen(kAutoNumber, dir.Text(), u"");
  const int64_t b = ListingOpen(kAutoNumber, dir.Text(), u"");
  ASSERT_NE(ListingOpen(4, dir.Text(), u""), 0);
  EXPECT_NE(a, b);
  ListingCloseAll();
  for (const int64_t id : {a, b, int64_t{4}}) EXPECT_EQ(ListingNext(id), 0);
}

}  // namespace
