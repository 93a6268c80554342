#include "ui/event_queue.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int64_t> TakeObjects(EventQueue& queue) {
  std::vector<int64_t> objects;
  for (TakenEvent e = queue.Take(); e.code != 0; e = queue.Take()) objects.push_back(e.object);
  return objects;
}

TEST(EventQueue, HandsOutOldestFirstAndMergesOnlyDirectRepeats) {
  EventQueue queue;
  queue.Post(13100, 1, 0, 768);
  queue.Post(13100, 1, 0, 768);  // repeats the newest: merged
  queue.Post(13100, 2, 0, 768);
  queue.Post(13100, 1, 0, 768);  // same as the first, but not adjacent
  queue.Post(13100, 1, 0, 0);    // other detail
  queue.Post(13100, 1, 1, 0);    // other window
  EXPECT_EQ(TakeObjects(queue), (std::vector<int64_t>{1, 2, 1, 1, 1}));

  // Codes from 65536 on are never merged.
  queue.Post(65536, 7, 0, 0);
  queue.Post(65536, 7, 0, 0);
  queue.Post(65535, 8, 0, 0);
  queue.Post(65535, 8, 0, 0);
  EXPECT_EQ(TakeObjects(queue), (std::vector<int64_t>{7, 7, 8}));
  EXPECT_TRUE(queue.Empty());
}

TEST(EventQueue, TakeCopiesEveryFieldAndEmptyQueueGivesCodeZero) {
  EventQueue queue;
  queue.Post(13116, -5, 9, 123456789012345);
  const TakenEvent e = queue.Take();
  EXPECT_EQ(e.code, 13116);
  EXPECT_EQ(e.object, -5);
  EXPECT_EQ(e.window, 9);
  EXPECT_EQ(e.detail, 123456789012345);
  EXPECT_EQ(queue.Take().code, 0);
}

TEST(EventQueue, SuppressionDropsEventsUntilEveryLevelEnds) {
  EventQueue queue;
  queue.Suppress();
  queue.Suppress();
  queue.Post(13100, 1, 0, 0);
  queue.Unsuppress();
  queue.Post(13100, 2, 0, 0);
  queue.Unsuppress();
  queue.Post(13100, 3, 0, 0);
  EXPECT_EQ(TakeObjects(queue), (std::vector<int64_t>{3}));
}

TEST(EventQueue, RemovalByPatternAndWindowKeepsOrderAndTail) {
  EventQueue queue;
  queue.Post(13100, 1, 0, 0);  // head
  queue.Post(13118, 0, 0, 0);
  queue.Post(13100, 2, 1, 0);
  queue.Post(13100, 1, 0, 768);  // tail
  queue.Remove(13100, 1, kAnyValue, kAnyValue);
  // The tail moved back: a new event equal to the new tail merges with it.
  queue.Post(13100, 2, 1, 0);
  queue.Post(13100, 3, 1, 0);
  EXPECT_EQ(TakeObjects(queue), (std::vector<int64_t>{0, 2, 3}));

  queue.Post(13117, 0, 0, 0);
  queue.Post(13100, 4, 1, 0);
  queue.Post(13117, 0, 0, 0);
  queue.RemoveWindow(0);
  EXPECT_EQ(TakeObjects(queue), (std::vector<int64_t>{4}));

  // -1 is no window's number: removing "its" events removes nothing.
  queue.Post(13100, 5, -1, 0);
  queue.RemoveWindow(-1);
  EXPECT_EQ(TakeObjects(queue), (std::vector<int64_t>{5}));
}

TEST(EventQueue, PoolServesLongQueuesAndReusesNodes) {
  EventQueue queue;
  for (int round = 0; round < 3; ++round) {
    for (int64_t i = 0; i < 1000; ++i) queue.Post(13100, i, 0, 0);
    queue.Remove(kAnyValue, 500, kAnyValue, kAnyValue);
    std::vector<int64_t> objects = TakeObjects(queue);
    ASSERT_EQ(objects.size(), 999u);
    EXPECT_EQ(objects[499], 499);
    EXPECT_EQ(objects[500], 501);
    EXPECT_EQ(objects.back(), 999);
  }
}

}  // namespace
