#include "ui/ui_thread_call.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "tests/ui/event_drain.h"
#include "ui/events.h"

namespace {

TEST(UiThreadCall, CallsFromAnotherThreadRunOnTheWaitingThreadInOrderAndWakeIt) {
  DrainEvents();
  const std::thread::id ui_thread = std::this_thread::get_id();
  std::vector<std::thread::id> ran_on;
  std::thread worker([&] {
    for (int64_t i = 1; i <= 3; ++i)
      UiThreadCall([&ran_on, i] {
        ran_on.push_back(std::this_thread::get_id());
        EventPost(CommandEvent, 9000 + i, 0, 0);
      });
  });
  worker.join();
  // The wait comes back for the calls (long before its limit); what they posted follows,
  // in order.
  std::vector<int64_t> commands;
  for (int rounds = 0; rounds < 20 && commands.size() < 3; ++rounds)
    if (EventWait(2000) == CommandEvent) commands.push_back(EventControl());
  EXPECT_EQ(commands, (std::vector<int64_t>{9001, 9002, 9003}));
  EXPECT_EQ(ran_on, std::vector<std::thread::id>(3, ui_thread));
}

}  // namespace
