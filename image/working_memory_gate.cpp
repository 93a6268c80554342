#include "image/working_memory_gate.h"

#include <condition_variable>
#include <mutex>

namespace {

std::mutex gate_lock;
std::condition_variable gate_opened;
uint64_t held = 0;
int waiting = 0;

}  // namespace

void WorkingMemoryTicket::Enter(uint64_t bytes) {
  Leave();
  if (bytes < kWorkingMemoryUnwatched) return;
  std::unique_lock lock(gate_lock);
  const auto fits = [bytes] { return held == 0 || held + bytes <= kWorkingMemoryAllowance; };
  if (!fits()) {
    ++waiting;
    gate_opened.wait(lock, fits);
    --waiting;
  }
  held += bytes;
  bytes_ = bytes;
}

int WorkingMemoryWaiting() {
  const std::lock_guard lock(gate_lock);
  return waiting;
}

void WorkingMemoryTicket::Leave() {
  if (bytes_ == 0) return;
  {
    const std::lock_guard lock(gate_lock);
    held -= bytes_;
  }
  bytes_ = 0;
  gate_opened.notify_all();
}
