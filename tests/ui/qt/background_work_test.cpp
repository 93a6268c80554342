// Work off the user-interface thread: results come back on it, in order, through the
// event loop, and a cancellation drops everything given before it.
#include "ui/background_work.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>
#include <vector>

#include "ui/events.h"

namespace {

constexpr int64_t kWindow = 7;
constexpr int64_t kCommand = 4242;
constexpr auto kLongestWait = std::chrono::seconds(10);

// Takes events until `done` holds, delivering the work's results on its command; false
// when that takes too long, or when a wait is left to run out: nothing but the work's own
// event is there to end it.
template <typename Done>
bool DeliverUntil(BackgroundWork& work, Done done) {
  const auto deadline = std::chrono::steady_clock::now() + kLongestWait;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    const int32_t code = EventWait(std::chrono::milliseconds(kLongestWait).count());
    if (code == 0) return false;
    if (code == CommandEvent && EventControl() == kCommand && EventWindow() == kWindow) work.Deliver();
  }
  return true;
}

TEST(BackgroundWork, RunsJobsOffTheThreadAndDeliversTheirResultsOnItInOrder) {
  const std::thread::id interface_thread = std::this_thread::get_id();
  std::vector<int> delivered;
  std::atomic<int> jobs_on_interface_thread = 0;
  bool finished_elsewhere = false;
  BackgroundWork work(kWindow, kCommand);
  constexpr int kJobs = 50;
  for (int i = 0; i < kJobs; ++i) {
    work.Run([&, i]() -> BackgroundWork::Finish {
      if (std::this_thread::get_id() == interface_thread) ++jobs_on_interface_thread;
      return [&, i] {
        if (std::this_thread::get_id() != interface_thread) finished_elsewhere = true;
        delivered.push_back(i);
      };
    });
  }
  ASSERT_TRUE(DeliverUntil(work, [&] { return delivered.size() >= kJobs; }));
  std::vector<int> expected(kJobs);
  for (int i = 0; i < kJobs; ++i) expected[static_cast<size_t>(i)] = i;
  EXPECT_EQ(delivered, expected);
  EXPECT_EQ(jobs_on_interface_thread, 0);
  EXPECT_FALSE(finished_elsewhere);
}

TEST(BackgroundWork, ACancellationDropsTheRunningJobsResultAndTheJobsNotStarted) {
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::promise<void> started;
  std::atomic<int> later_jobs_run = 0;
  std::vector<int> delivered;
  BackgroundWork work(kWindow, kCommand);
  work.Run([&]() -> BackgroundWork::Finish {
    started.set_value();
    released.wait();
    return [&] { delivered.push_back(1); };
  });
  for (int i = 2; i <= 3; ++i) {
    work.Run([&, i]() -> BackgroundWork::Finish {
      ++later_jobs_run;
      return [&, i] { delivered.push_back(i); };
    });
  }
  ASSERT_EQ(started.get_future().wait_for(kLongestWait), std::future_status::ready);
  work.Cancel();
  release.set_value();
  work.Run([&]() -> BackgroundWork::Finish { return [&] { delivered.push_back(4); }; });
  ASSERT_TRUE(DeliverUntil(work, [&] { return !delivered.empty(); }));
  EXPECT_EQ(delivered, std::vector<int>{4});
  EXPECT_EQ(later_jobs_run, 0);
}

}  // namespace
