#include "app/scene/measure_pool.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "fs/memory_return.h"

namespace {

// Idle workers are woken once this many jobs wait, or when the taker needs a result: each
// wake-up costs system calls on both sides, more than measuring a tiny image.
constexpr uint64_t kBatch = 16;
// A worker claims up to this many jobs at a time while many wait, one when few do, so that
// no worker is left idle at the end.
constexpr uint64_t kClaim = 4;
constexpr std::chrono::milliseconds kHoldResults{5};

using std::chrono::steady_clock;

}  // namespace

MeasurePool::MeasurePool(SizeMeasurer measure, int workers, size_t capacity)
    : measure_(measure),
      workers_asked_(workers > 0 ? static_cast<uint64_t>(workers) : 1),
      slots_(capacity > 0 ? capacity : 1) {
  // Workers take turns with large decoder buffers: each must go back when freed, or
  // every worker keeps one.
  MemoryReturnLargeBlocks();
  for (int i = 0; i < workers; ++i) {
    try {
      workers_.emplace_back(&MeasurePool::Work, this);
    } catch (const std::system_error&) {
      break;  // the threads started so far do the work
    }
  }
}

MeasurePool::~MeasurePool() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  work_ready_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

bool MeasurePool::Submit(MeasureJob job) {
  bool batch_ready = false;
  {
    std::lock_guard lock(mutex_);
    if (submitted_ - taken_ == slots_.size()) return false;
    Slot& slot = SlotOf(submitted_++);
    slot.job = std::move(job);
    slot.done = false;
    batch_ready = submitted_ - claimed_ >= std::min<uint64_t>(kBatch, slots_.size());
  }
  // Busy workers take new jobs without being told; telling no one costs no system call.
  if (batch_ready) work_ready_.notify_all();
  return true;
}

std::optional<Measurement> MeasurePool::TakeOldest(std::chrono::milliseconds wait, uint64_t together) {
  std::unique_lock lock(mutex_);
  if (taken_ == submitted_) return std::nullopt;
  if (workers_.empty() && claimed_ == taken_) {
    Slot& slot = SlotOf(claimed_++);
    slot.size = measure_(slot.job);
    slot.done = true;
  }
  if (!SlotOf(taken_).done) {
    // Not even a zero wait goes to the system: the scan asks after every entry.
    if (wait.count() <= 0) return std::nullopt;
    if (claimed_ < submitted_) work_ready_.notify_all();  // a batch not yet full
    wanted_ = taken_ + std::clamp<uint64_t>(together, 1, submitted_ - taken_) - 1;
    taker_waiting_ = true;
    job_done_.wait_for(lock, wait, [this] { return WantedReady(); });
    taker_waiting_ = false;
    if (!SlotOf(taken_).done) return std::nullopt;
  }
  Slot& slot = SlotOf(taken_++);
  // The job's hold on its folder ends with it.
  slot.job = {};
  return slot.size;
}

bool MeasurePool::WantedReady() {
  for (uint64_t job = taken_; job <= wanted_; ++job) {
    if (!SlotOf(job).done) return false;
  }
  return true;
}

void MeasurePool::Work() {
  std::unique_lock lock(mutex_);
  while (true) {
    work_ready_.wait(lock, [this] { return stopping_ || claimed_ < submitted_; });
    if (stopping_) return;
    const uint64_t first = claimed_;
    const uint64_t count = std::clamp<uint64_t>((submitted_ - claimed_) / (2 * workers_asked_), 1, kClaim);
    claimed_ += count;
    // Marks the results up to `job` done, the lock held.
    uint64_t given = first;
    const auto give = [&](uint64_t job) {
      const uint64_t from = given;
      for (; given < job; ++given) SlotOf(given).done = true;
      if (taker_waiting_ && from <= wanted_ && given > taken_ && WantedReady()) job_done_.notify_one();
    };
    lock.unlock();
    // The slots are not reused before their jobs are taken, and are taken only once done:
    // they are read and written unlocked here. Results wait for the rest of the claim only
    // while it is quick: a slow image's result is given at once.
    uint64_t job = first;
    auto since = steady_clock::now();
    while (job < first + count && !stopping_) {
      Slot& slot = SlotOf(job++);
      slot.size = measure_(slot.job);
      if (job == first + count || steady_clock::now() - since < kHoldResults) continue;
      lock.lock();
      give(job);
      lock.unlock();
      since = steady_clock::now();
    }
    lock.lock();
    give(job);
  }
}
