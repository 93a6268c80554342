// The store of measured sizes on its own: what answers which scan, what is never kept or
// trusted, and a store that cannot be used, which must only cost time.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/scene/size_store.h"
#include "fs/fault_seam.h"
#include "fs/sqlite_database.h"
#include "fs/text_encoding.h"
#include "support/temp_folder.h"

namespace {

constexpr int64_t kSecond = 1'000'000'000;
constexpr int64_t kDay = 86'400 * kSecond;

// The time the store is told a scan starts.
int64_t g_now = 0;
int64_t TestClock() { return g_now; }

class SizeStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { g_now = start_; }
  void TearDown() override { FaultHookSet(nullptr); }

  SizeStore Open() { return SizeStore(folder_.Text() + u"/", TestClock); }
  // A file last changed a minute before the scan.
  FileStamp Stamp(uint64_t node, int64_t size = 100) const {
    return {7, node, size, start_ - 60 * kSecond, start_ - 60 * kSecond, 0};
  }
  // For telling the file system: the stamps' files are on the temporary folder's.
  std::u16string Where() const { return folder_.Text(); }
  std::string StoreFile() const { return folder_.Path("sizes.sqlite").string(); }
  // Changes the store behind its back, as another program or time would.
  void EditStore(const char* sql) const {
    SqlOutcome outcome = SqlOutcome::Failed;
    SqlDatabase database = SqlDatabase::Open(StoreFile(), std::chrono::milliseconds(0), outcome);
    ASSERT_TRUE(database.IsOpen());
    ASSERT_EQ(database.Execute(sql), SqlOutcome::Done);
  }

  const int64_t start_ = SizeStore::SystemClock();
  TempFolder folder_;
};

std::optional<std::pair<int, int>> Found(SizeStore& store, const FileStamp& stamp, const std::u16string& where) {
  const auto size = store.Find(stamp, where);
  if (!size) return std::nullopt;
  return std::pair{size->width, size->height};
}

TEST_F(SizeStoreTest, AnswersOnlyTheSameStampAndAnExactSizeAnswersEveryScan) {
  {
    SizeStore store = Open();
    store.ScanBegins(MeasureMode::Exact);
    // A store that holds nothing of a file system cannot answer there: the scan need not
    // look at its files before it measures them.
    EXPECT_FALSE(store.MayAnswerOn(7, Where()));
    store.Keep(Stamp(1), Where(), {640, 480});
    store.Keep(Stamp(2), Where(), {1, 1});
    store.ScanBegins(MeasureMode::Quick);
    store.Keep(Stamp(3), Where(), {32, 16});
    store.ScanEnds();
    EXPECT_EQ(store.TakeWarning(), u"");
  }
  SizeStore store = Open();
  store.ScanBegins(MeasureMode::Exact);
  EXPECT_TRUE(store.MayAnswerOn(7, Where()));
  EXPECT_FALSE(store.MayAnswerOn(8, Where()));
  // Asked by file number before the file is looked at, then answering for its stamp.
  const std::optional<SizeStore::Kept> kept = store.KeptFor(7, 1);
  ASSERT_TRUE(kept);
  const std::optional<ImageSize> answer = store.Answer(*kept, Stamp(1), Where());
  ASSERT_TRUE(answer);
  EXPECT_EQ(std::pair(answer->width, answer->height), std::pair(640, 480));
  EXPECT_FALSE(store.Answer(*kept, Stamp(1, 101), Where()));
  EXPECT_FALSE(store.Answer(*kept, Stamp(2), Where()));
  EXPECT_FALSE(store.KeptFor(7, 4));
  EXPECT_FALSE(store.KeptFor(8, 1));
  EXPECT_EQ(Found(store, Stamp(1), Where()), std::pair(640, 480));
  EXPECT_EQ(Found(store, Stamp(2), Where()), std::pair(1, 1));
  // A quick size never answers an exact scan.
  EXPECT_EQ(Found(store, Stamp(3), Where()), std::nullopt);
  // Another size, modification or change time is another content.
  FileStamp other = Stamp(1, 101);
  EXPECT_EQ(Found(store, other, Where()), std::nullopt);
  other = Stamp(1);
  other.modified_ns -= 1;
  EXPECT_EQ(Found(store, other, Where()), std::nullopt);
  other = Stamp(1);
  other.changed_ns += 1;
  EXPECT_EQ(Found(store, other, Where()), std::nullopt);
  other = Stamp(1);
  other.device = 8;
  EXPECT_EQ(Found(store, other, Where()), std::nullopt);

  store.ScanBegins(MeasureMode::Quick);
  EXPECT_EQ(Found(store, Stamp(1), Where()), std::pair(640, 480));
  EXPECT_EQ(Found(store, Stamp(3), Where()), std::pair(32, 16));
  // A quick size does not replace an exact one; an exact one replaces a quick one.
  store.Keep(Stamp(1), Where(), {9, 9});
  store.ScanBegins(MeasureMode::Exact);
  store.Keep(Stamp(3), Where(), {33, 17});
  store.ScanEnds();
  EXPECT_EQ(Found(store, Stamp(1), Where()), std::pair(640, 480));
  EXPECT_EQ(Found(store, Stamp(3), Where()), std::pair(33, 17));
}

TEST_F(SizeStoreTest, NeverKeepsNorTrustsAStampThatMayStillChangeUnseen) {
  SizeStore store = Open();
  store.ScanBegins(MeasureMode::Exact);
  // Changed within the times' granularity of the scan's start, by either time.
  FileStamp recent = Stamp(1);
  recent.modified_ns = g_now - kSecond / 2;
  FileStamp recent_status = Stamp(2);
  recent_status.changed_ns = g_now - kSecond / 2;
  // A file system that keeps no change time.
  FileStamp no_change_time = Stamp(3);
  no_change_time.changed_ns = 0;
  for (const FileStamp& stamp : {recent, recent_status, no_change_time}) store.Keep(stamp, Where(), {5, 5});
  store.ScanEnds();
  g_now += kDay;
  store.ScanBegins(MeasureMode::Exact);
  for (const FileStamp& stamp : {recent, recent_status, no_change_time}) {
    EXPECT_EQ(Found(store, stamp, Where()), std::nullopt) << stamp.node;
  }
  // Kept a day ago, when settled; now trusted only while it lies before the scan.
  FileStamp settled = Stamp(4);
  store.Keep(settled, Where(), {6, 6});
  store.ScanEnds();
  store.ScanBegins(MeasureMode::Exact);
  EXPECT_EQ(Found(store, settled, Where()), std::pair(6, 6));
  g_now = settled.changed_ns;
  store.ScanBegins(MeasureMode::Exact);
  EXPECT_EQ(Found(store, settled, Where()), std::nullopt);
}

TEST_F(SizeStoreTest, StartsAfreshForOtherVersionsAndDropsWhatWasNotSeenFor90Days) {
  {
    SizeStore store = Open();
    store.ScanBegins(MeasureMode::Exact);
    store.Keep(Stamp(1), Where(), {2, 3});
    store.Keep(Stamp(2), Where(), {4, 5});
  }
  // Sizes kept by another version of a decoding library.
  EditStore("UPDATE facts SET value = value || 'x'; UPDATE sizes SET seen = seen - 91 WHERE node = 2");
  SizeStore store = Open();
  store.ScanBegins(MeasureMode::Exact);
  EXPECT_EQ(Found(store, Stamp(1), Where()), std::nullopt);
  store.Keep(Stamp(1), Where(), {2, 3});
  store.Keep(Stamp(2), Where(), {4, 5});
  store.ScanEnds();
  g_now += 60 * kDay;
  {
    SizeStore later = Open();
    later.ScanBegins(MeasureMode::Exact);
    // Seen 60 days ago: kept, and its day of last use brought up to date.
    EXPECT_EQ(Found(later, Stamp(1), Where()), std::pair(2, 3));
  }
  g_now += 60 * kDay;
  SizeStore latest = Open();
  latest.ScanBegins(MeasureMode::Exact);
  EXPECT_EQ(Found(latest, Stamp(1), Where()), std::pair(2, 3));
  // Not seen for 120 days.
  EXPECT_EQ(Found(latest, Stamp(2), Where()), std::nullopt);
}

TEST_F(SizeStoreTest, AStoreGrownPast64MiBDropsItsOldestEntries) {
  {
    SizeStore store = Open();
    store.ScanBegins(MeasureMode::Exact);
    for (uint64_t node = 1; node <= 8; ++node) store.Keep(Stamp(node), Where(), {int32_t(node), 1});
  }
  // Node 1 last seen eight days ago, node 8 yesterday; and 70 MiB of something else.
  EditStore(
      "UPDATE sizes SET seen = seen - (9 - node);"
      "CREATE TABLE filler(bytes); INSERT INTO filler VALUES (zeroblob(70 << 20))");
  SizeStore store = Open();
  store.ScanBegins(MeasureMode::Exact);
  EXPECT_EQ(Found(store, Stamp(1), Where()), std::nullopt);
  EXPECT_EQ(Found(store, Stamp(2), Where()), std::nullopt);
  for (uint64_t node = 4; node <= 8; ++node)
    EXPECT_EQ(Found(store, Stamp(node), Where()), std::pair(int(node), 1)) << node;
}

TEST_F(SizeStoreTest, ADamagedStoreIsSetAsideAndMadeAfreshWithOneWarning) {
  {
    SizeStore store = Open();
    store.ScanBegins(MeasureMode::Exact);
    store.Keep(Stamp(1), Where(), {2, 3});
  }
  folder_.Put("sizes.sqlite", std::string(5000, 'x'));
  folder_.Put("sizes.sqlite-wal", std::string(5000, 'y'));
  folder_.Put("sizes.sqlite-shm", std::string(40000, 'z'));
  SizeStore store = Open();
  const std::u16string warning = store.TakeWarning();
  EXPECT_NE(warning.find(u"damaged"), std::u16string::npos) << Utf8FromText(warning);
  EXPECT_EQ(store.TakeWarning(), u"");
  EXPECT_EQ(folder_.Get("sizes.sqlite.damaged"), std::string(5000, 'x'));
  store.ScanBegins(MeasureMode::Exact);
  EXPECT_EQ(Found(store, Stamp(1), Where()), std::nullopt);
  store.Keep(Stamp(1), Where(), {2, 3});
  store.ScanEnds();
  store.ScanBegins(MeasureMode::Exact);
  EXPECT_EQ(Found(store, Stamp(1), Where()), std::pair(2, 3));
}

int ReadOnlyStore(FaultPoint point, const std::u16string&) { return point == FaultPoint::OpenDatabase ? 1 : 0; }

TEST_F(SizeStoreTest, AStoreThatCannotBeWrittenStillAnswersAndWarnsOnce) {
  {
    SizeStore store = Open();
    store.ScanBegins(MeasureMode::Exact);
    store.Keep(Stamp(1), Where(), {2, 3});
  }
  FaultHookSet(ReadOnlyStore);
  SizeStore store = Open();
  store.ScanBegins(MeasureMode::Exact);
  EXPECT_EQ(Found(store, Stamp(1), Where()), std::pair(2, 3));
  store.Keep(Stamp(2), Where(), {4, 5});
  store.ScanEnds();
  const std::u16string warning = store.TakeWarning();
  EXPECT_NE(warning.find(u"cannot be written"), std::u16string::npos) << Utf8FromText(warning);
  store.Keep(Stamp(3), Where(), {4, 5});
  store.ScanEnds();
  EXPECT_EQ(store.TakeWarning(), u"");
  EXPECT_EQ(Found(store, Stamp(2), Where()), std::nullopt);
}

}  // namespace
