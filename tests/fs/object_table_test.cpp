#include "fs/object_table.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int>* g_released = nullptr;

struct Rec {
  int handle = 0;
  int extra = 0;
  bool InUse() const { return handle != 0; }
};

void ReleaseRec(Rec& r) {
  if (g_released) g_released->push_back(r.handle);
  r.handle = 0;
}

struct ObjectTableTest : ::testing::Test {
  std::vector<int> released;
  void SetUp() override { g_released = &released; }
  void TearDown() override { g_released = nullptr; }
};

TEST_F(ObjectTableTest, SlotsGrowByStepAndComeBackZeroFilled) {
  ObjectTable<Rec> table(16, ReleaseRec);
  auto t = table.Take(0);
  ASSERT_NE(t.record, nullptr);
  EXPECT_EQ(t.id, 0);
  EXPECT_EQ(table.SlotCount(), 16);
  EXPECT_EQ(table.Find(0), nullptr);  // not in use until it holds a handle
  t.record->handle = 7;
  t.record->extra = 3;
  EXPECT_EQ(table.Find(0), t.record);

  table.Take(20);
  EXPECT_EQ(table.SlotCount(), 36);

  // Taking a used slot releases the old object and hands back a clean record.
  auto again = table.Take(0);
  EXPECT_EQ(released, std::vector<int>{7});
  EXPECT_EQ(again.record->handle, 0);
  EXPECT_EQ(again.record->extra, 0);
}

TEST_F(ObjectTableTest, FreshRecordsHaveIdsThatAreNeverSlotNumbers) {
  ObjectTable<Rec> table(16, ReleaseRec);
  auto a = table.Take(kAutoNumber);
  auto b = table.Take(kAutoNumber);
  a.record->handle = 1;
  b.record->handle = 2;
  EXPECT_NE(a.id, b.id);
  for (int64_t id : {a.id, b.id}) {
    EXPECT_LT(id, kAutoNumber);
    EXPECT_NE(id, 0);
  }
  EXPECT_EQ(table.Find(a.id), a.record);
  table.Release(a.id);
  EXPECT_EQ(table.Find(a.id), nullptr);
  EXPECT_EQ(released, std::vector<int>{1});
}

TEST_F(ObjectTableTest, LookupsOfEmptyOrInvalidNumbersYieldNone) {
  ObjectTable<Rec> table(16, ReleaseRec);
  EXPECT_EQ(table.Find(0), nullptr);
  EXPECT_EQ(table.Find(1000), nullptr);
  EXPECT_EQ(table.Find(-5), nullptr);
  EXPECT_EQ(table.Take(-5).record, nullptr);
  EXPECT_EQ(table.Take(kMaxSlotNumber + 1).record, nullptr);
  table.Release(3);  // nothing there: no effect
  EXPECT_TRUE(released.empty());
}

TEST_F(ObjectTableTest, ShutdownReleasesSlotsAscendingThenFreshNewestFirst) {
  {
    ObjectTable<Rec> table(16, ReleaseRec);
    table.Take(5).record->handle = 50;
    table.Take(kAutoNumber).record->handle = 100;
    table.Take(1).record->handle = 10;
    table.Take(kAutoNumber).record->handle = 200;
    table.Take(3);  // taken but never used: not released
  }
  EXPECT_EQ(released, (std::vector<int>{10, 50, 200, 100}));
}

}  // namespace
