// Listings on Windows: 64-bit sizes, names outside the code page, links.
#include <windows.h>

#include <filesystem>

#include "support/folder_link.h"
#include "tests/fs/listing_fixture.h"

namespace fs = std::filesystem;

namespace {

TEST_F(Listing, ReportsKindAndSizeOfEveryEntry) {
  dir.Put("a.png", "12345");
  fs::create_directory(dir.Path("sub"));
  dir.Put("big", "");
  fs::resize_file(dir.Path("big"), 5000000000);  // beyond 32 bits
  const auto listed = List(dir.Text(), u"");
  EXPECT_EQ(listed.at(u"a.png"), (Entry{EntryKind::File, 5}));
  EXPECT_EQ(listed.at(u"sub").kind, EntryKind::Directory);
  EXPECT_EQ(listed.at(u"big"), (Entry{EntryKind::File, 5000000000}));
  // The system's own entries come as it gives them; an empty folder has no others.
  for (const auto& [name, entry] : List(dir.Text("sub"), u"*.*")) {
    EXPECT_TRUE(name == u"." || name == u"..");
    EXPECT_EQ(entry.kind, EntryKind::Directory);
  }
}

TEST_F(Listing, NamesOutsideTheCodePageRoundTrip) {
  // Chinese and Greek letters and a character beyond the 16-bit range.
  const std::u16string name = u"\u4E2D\u03A9\U0001F600.png";
  const std::u16string path = dir.Text() + u"\\" + name;
  ASSERT_NE(FileCreate(3, path, 0), 0);
  FileWriteLine(3, u"content", 0);
  FileClose(3);
  EXPECT_EQ(ListNames(dir.Text(), u"*.png"), (Names{name}));
  ASSERT_NE(FileOpen(3, path, 0), 0);
  EXPECT_EQ(FileReadLine(3, 0), u"content");
}

TEST_F(Listing, LinksToFoldersAreFoldersAndLinksToFilesTakeTheirSize) {
  dir.Put("a.png", "12345");
  fs::create_directory(dir.Path("sub"));
  if (!MakeFolderLink(dir.Path("sub"), dir.Path("to-sub"))) GTEST_SKIP() << "this system makes no links";
  ASSERT_TRUE(CreateSymbolicLinkW(dir.Path("to-a.png").c_str(), dir.Path("a.png").c_str(),
                                  SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE));
  ASSERT_TRUE(CreateSymbolicLinkW(dir.Path("broken").c_str(), dir.Path("missing").c_str(),
                                  SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE));
  const auto listed = List(dir.Text(), u"");
  EXPECT_EQ(listed.at(u"to-sub").kind, EntryKind::Directory);
  EXPECT_EQ(listed.at(u"to-a.png"), (Entry{EntryKind::File, 5}));
  EXPECT_EQ(listed.at(u"broken").kind, EntryKind::File);
}

}  // namespace
