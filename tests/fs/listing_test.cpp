#include <filesystem>
#include <string>

#include "tests/fs/listing_fixture.h"

namespace {

namespace fs = std::filesystem;

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

TEST_F(Listing, CloseAllEndsEveryListing) {
  const int64_t a = ListingOpen(kAutoNumber, dir.Text(), u"");
  const int64_t b = ListingOpen(kAutoNumber, dir.Text(), u"");
  ASSERT_NE(ListingOpen(4, dir.Text(), u""), 0);
  EXPECT_NE(a, b);
  ListingCloseAll();
  for (const int64_t id : {a, b, int64_t{4}}) EXPECT_EQ(ListingNext(id), 0);
}

TEST_F(Listing, FailedOpensLeaveTheNumberFreeAndCloseWhatItHeld) {
  dir.Put("file", "x");
  ASSERT_EQ(ListingOpen(2, dir.Text(), u""), 1);

  for (const std::u16string& path : {dir.Text("missing"), dir.Text("file"), dir.Text("cut") + u'\0'}) {
    EXPECT_EQ(ListingOpen(2, path, u""), 0);
    EXPECT_EQ(ListingNext(2), 0);
    EXPECT_EQ(ListingName(2), u"");
    EXPECT_EQ(ListingKind(2), EntryKind::None);
    EXPECT_EQ(ListingSize(2), 0);
    EXPECT_EQ(ListingClose(2), 0);
  }
  EXPECT_EQ(ListingOpen(kAutoNumber, dir.Text(), std::u16string(u"fi\0*", 4)), 0);
  EXPECT_EQ(ListingOpen(-7, dir.Text(), u""), 0);
}

}  // namespace
