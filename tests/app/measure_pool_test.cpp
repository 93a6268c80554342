#include "app/scene/measure_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "support/wait_until.h"

namespace {

using std::chrono::milliseconds;

// The "size" of a path is its number; odd numbers take longer, so later jobs often finish
// before earlier ones.
Measurement SlowOnOdd(const MeasureJob& job) {
  const int number = std::stoi(std::string(job.name.begin(), job.name.end()));
  std::this_thread::sleep_for(std::chrono::microseconds(number % 2 == 1 ? 3000 : 100));
  return {{number, -number}, 0, {}};
}

TEST(MeasurePool, GivesResultsInSubmissionOrderWhateverFinishesFirst) {
  for (const int workers : {0, 1, 2, 8}) {
    MeasurePool pool(SlowOnOdd, workers, 16);
    int next_expected = 0;
    for (int job = 0; job < 200; ++job) {
      const std::string name = std::to_string(job);
      while (!pool.Submit({nullptr, std::u16string(name.begin(), name.end())})) {
        // Waiting for half the places' results at once, as the scan does.
        const auto size = pool.TakeOldest(milliseconds{1000}, job % 2 == 0 ? 1 : 8);
        ASSERT_TRUE(size);
        EXPECT_EQ(size->size.width, next_expected);
        EXPECT_EQ(size->size.height, -next_expected++);
      }
    }
    EXPECT_EQ(next_expected, 200 - 16);  // the rest waits in the pool's places
    while (next_expected < 200) {
      const auto size = pool.TakeOldest(milliseconds{1000});
      ASSERT_TRUE(size);
      EXPECT_EQ(size->size.width, next_expected++);
    }
    EXPECT_EQ(next_expected, 200) << workers << " workers";
    EXPECT_FALSE(pool.TakeOldest(milliseconds{0}));  // nothing left to give
  }
}

// Workers are woken for a batch of jobs; fewer are measured as soon as the taker waits.
TEST(MeasurePool, MeasuresJobsShortOfABatchWhenTheTakerWaits) {
  MeasurePool pool(SlowOnOdd, 2, 64);
  for (int round = 0; round < 3; ++round) {
    ASSERT_TRUE(pool.Submit({nullptr, u"2"}));
    const auto size = pool.TakeOldest(milliseconds{5000});
    ASSERT_TRUE(size) << round;
    EXPECT_EQ(size->size.width, 2);
  }
}

// A worker claims several jobs at once; a slow one's result is not held back for the rest:
// here the next job cannot end before the first result has been taken.
std::atomic<bool> first_taken = false;
Measurement SecondWaitsForFirst(const MeasureJob& job) {
  if (job.name == u"0") std::this_thread::sleep_for(milliseconds{20});
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds{5};
  while (job.name == u"1" && !first_taken && std::chrono::steady_clock::now() < limit) std::this_thread::yield();
  return {{job.name == u"0" ? 0 : 1, 0}, 0, {}};
}

TEST(MeasurePool, GivesASlowResultWithoutWaitingForTheRestOfItsClaim) {
  MeasurePool pool(SecondWaitsForFirst, 1, 16);
  for (const char16_t* name : {u"0", u"1", u"1", u"1", u"1", u"1", u"1", u"1"})
    ASSERT_TRUE(pool.Submit({nullptr, name}));
  const auto first = pool.TakeOldest(milliseconds{2000});
  first_taken = true;
  ASSERT_TRUE(first);
  EXPECT_EQ(first->size.width, 0);
}

// A taker waiting for several results is woken once they are all ready, whichever worker
// gives the last of them, and once its wait is over it gets the oldest result if that
// alone is ready: a scan of slow images still reports each as it comes.
std::atomic<bool> oldest_taken = false;
Measurement FirstSlowSecondQuickThirdWaits(const MeasureJob& job) {
  if (job.name == u"0") std::this_thread::sleep_for(milliseconds{20});
  if (job.name == u"2") WaitUntil([] { return oldest_taken.load(); }, std::chrono::seconds{10});
  return {{job.name[0] - u'0', 0}, 0, {}};
}

TEST(MeasurePool, AWaitingTakerIsWokenWhenTheResultsItWaitsForAreReadyAndTakesTheOldestAfterItsWait) {
  MeasurePool pool(FirstSlowSecondQuickThirdWaits, 2, 4);
  ASSERT_TRUE(pool.Submit({nullptr, u"0"}));
  ASSERT_TRUE(pool.Submit({nullptr, u"1"}));
  const auto start = std::chrono::steady_clock::now();
  // The second result is ready before the first: giving the first must wake the taker.
  const auto first = pool.TakeOldest(std::chrono::seconds{60}, 2);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds{30}) << "woken only by the end of its wait";
  ASSERT_TRUE(first);
  EXPECT_EQ(first->size.width, 0);
  ASSERT_EQ(pool.TakeOldest(milliseconds{0}, 2)->size.width, 1);

  // The third cannot be done before the second is taken; the second is, within the wait.
  ASSERT_TRUE(pool.Submit({nullptr, u"0"}));
  ASSERT_TRUE(pool.Submit({nullptr, u"2"}));
  const auto oldest = pool.TakeOldest(milliseconds{1000}, 2);
  oldest_taken = true;
  ASSERT_TRUE(oldest);
  EXPECT_EQ(oldest->size.width, 0);
  EXPECT_EQ(pool.TakeOldest(milliseconds{10000}, 2)->size.width, 2);
}

TEST(MeasurePool, RefusesJobsBeyondItsCapacityAndStopsWithJobsPending) {
  MeasurePool pool(SlowOnOdd, 2, 3);
  EXPECT_TRUE(pool.Submit({nullptr, u"1"}));
  EXPECT_TRUE(pool.Submit({nullptr, u"3"}));
  EXPECT_TRUE(pool.Submit({nullptr, u"5"}));
  EXPECT_FALSE(pool.Submit({nullptr, u"7"}));
  EXPECT_EQ(pool.TakeOldest(milliseconds{1000})->size.width, 1);
  EXPECT_TRUE(pool.Submit({nullptr, u"7"}));
  // Leaving now with jobs queued and running joins the workers without a hang or a leak.
}

}  // namespace
