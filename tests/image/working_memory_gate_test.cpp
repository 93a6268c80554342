#include "image/working_memory_gate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

constexpr uint64_t kMiB = uint64_t{1} << 20;

// Whether entering with bytes, on another thread, gets through while `holder` holds
// what it holds; then whether it gets through once the holder leaves.
void ExpectWaitsForHolder(WorkingMemoryTicket& holder, uint64_t bytes, bool waits) {
  std::atomic<bool> entered = false;
  std::thread other([&] {
    WorkingMemoryTicket ticket;
    ticket.Enter(bytes);
    entered = true;
  });
  // Until the other thread is through the gate or waiting at it.
  while (!entered && WorkingMemoryWaiting() == 0) std::this_thread::yield();
  EXPECT_EQ(entered.load(), !waits) << bytes / kMiB << " MiB";
  holder.Leave();
  other.join();
  EXPECT_TRUE(entered.load());
}

TEST(WorkingMemoryGate, LargeBuffersTakeTurnsWithinTheAllowance) {
  {
    WorkingMemoryTicket first;
    first.Enter(kWorkingMemoryAllowance / 2);
    ExpectWaitsForHolder(first, kWorkingMemoryAllowance / 2, false);  // both fit
  }
  {
    WorkingMemoryTicket first;
    first.Enter(kWorkingMemoryAllowance / 2);
    ExpectWaitsForHolder(first, kWorkingMemoryAllowance / 2 + kMiB, true);
  }
  {
    // One alone may hold more than the allowance; small buffers never wait.
    WorkingMemoryTicket huge;
    huge.Enter(10 * kWorkingMemoryAllowance);
    ExpectWaitsForHolder(huge, kWorkingMemoryUnwatched - 1, false);
  }
  {
    WorkingMemoryTicket huge;
    huge.Enter(10 * kWorkingMemoryAllowance);
    ExpectWaitsForHolder(huge, kWorkingMemoryUnwatched, true);
  }
}

}  // namespace
