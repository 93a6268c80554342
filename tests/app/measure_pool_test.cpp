#include "app/scene/measure_pool.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

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
        const auto size = pool.TakeOldest(milliseconds{1000});
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
