// Listings on Linux: links, FIFOs, names that are not UTF-8, and the descriptors held.
#include <sys/stat.h>

#include <filesystem>
#include <iterator>

#include "tests/fs/listing_fixture.h"

namespace fs = std::filesystem;

namespace {

size_t OpenDescriptors() { return static_cast<size_t>(std::distance(fs::directory_iterator("/proc/self/fd"), {})); }

TEST_F(Listing, ReopeningANumberAndFailingToOpenHoldNoDescriptor) {
  dir.Put("file", "x");
  const size_t before = OpenDescriptors();
  ASSERT_EQ(ListingOpen(2, dir.Text(), u""), 1);
  const size_t open = OpenDescriptors();
  EXPECT_EQ(open, before + 1);
  ASSERT_EQ(ListingOpen(2, dir.Text(), u""), 1);  // the old search is closed first
  EXPECT_EQ(OpenDescriptors(), open);
  for (const std::u16string& path : {dir.Text("missing"), dir.Text("file"), dir.Text("cut") + u'\0'})
    EXPECT_EQ(ListingOpen(2, path, u""), 0);
  EXPECT_EQ(OpenDescriptors(), before);
}

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

// Only a regular file itself is told as one: an image the walk finds so is opened at once.
TEST_F(Listing, TellsARegularFileFromLinksFifosAndFoldersAndGivesFileNumbers) {
  dir.Put("a.png", "12345");
  fs::create_directory(dir.Path("sub"));
  fs::create_symlink(dir.Path("a.png"), dir.Path("link"));
  ASSERT_EQ(mkfifo(dir.Path("fifo").c_str(), 0600), 0);
  const int64_t listing = ListingOpen(kAutoNumber, dir.Text(), u"");
  ASSERT_NE(listing, 0);
  std::map<std::u16string, bool> plain;
  while (ListingNext(listing)) {
    const std::u16string name = ListingName(listing);
    plain[name] = ListingIsPlainFile(listing);
    if (name == u"." || name == u"..") continue;
    // The file number, which the store of sizes is asked by, is the one stat gives.
    struct stat status;
    ASSERT_EQ(lstat(dir.Path(std::string(name.begin(), name.end())).c_str(), &status), 0);
    EXPECT_EQ(ListingFileNumber(listing), std::optional<uint64_t>(status.st_ino));
  }
  ListingClose(listing);
  EXPECT_EQ(plain,
            (std::map<std::u16string, bool>{
                {u".", false}, {u"..", false}, {u"a.png", true}, {u"sub", false}, {u"link", false}, {u"fifo", false}}));
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

}  // namespace

// The walk takes a subfolder's identity from its parent's listing: it must be the one
// FolderIdentityOf gives, for a folder and for a link to one, and none for anything else.
TEST_F(Listing, FolderIdentityIsTheOneThePathGives) {
  fs::create_directory(dir.Path("sub"));
  fs::create_directory_symlink(dir.Path("sub"), dir.Path("link"));
  dir.Put("file", "x");
  const int64_t listing = ListingOpen(kAutoNumber, dir.Text(), u"");
  ASSERT_NE(listing, 0);
  int folders = 0;
  while (ListingNext(listing)) {
    const std::u16string name = ListingName(listing);
    const auto identity = ListingFolderIdentity(listing);
    if (name == u"file") {
      EXPECT_FALSE(identity);
    } else if (name == u"sub" || name == u"link") {
      ++folders;
      ASSERT_TRUE(identity);
      EXPECT_EQ(*identity, *FolderIdentityOf(dir.Text("sub")));
    }
  }
  ListingClose(listing);
  EXPECT_EQ(folders, 2);
}
