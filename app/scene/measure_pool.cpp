#include "app/scene/measure_pool.h"

#include <system_error>
#include <utility>

#include "fs/memory_return.h"

MeasurePool::MeasurePool(SizeMeasurer measure, int workers, size_t capacity)
    : measure_(measure), slots_(capacity > 0 ? capacity : 1) {
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
  {
    std::lock_guard lock(mutex_);
    if (submitted_ - taken_ == slots_.size()) return false;
    Slot& slot = SlotOf(submitted_++);
    slot.job = std::move(job);
    slot.done = false;
  }
  work_ready_.notify_one();
  return true;
}

std::optional<Measurement> MeasurePool::TakeOldest(std::chrono::milliseconds wait) {
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
    taker_waiting_ = true;
    const bool done = job_done_.wait_for(lock, wait, [this] { return SlotOf(taken_).done; });
    taker_waiting_ = false;
    if (!done) return std::nullopt;
  }
  Slot& slot = SlotOf(taken_++);
  // The job's hold on its folder ends with it.
  slot.job = {};
  return slot.size;
}

void MeasurePool::Work() {
  std::unique_lock lock(mutex_);
  while (true) {
    work_ready_.wait(lock, [this] { return stopping_ || claimed_ < submitted_; });
    if (stopping_) return;
    const uint64_t job = claimed_++;
    // The slot is not reused before this job is taken, so it stays put unlocked.
    const MeasureJob& file = SlotOf(job).job;
    lock.unlock();
    const Measurement size = measure_(file);
    lock.lock();
    SlotOf(job).size = size;
    SlotOf(job).done = true;
    if (taker_waiting_) job_done_.notify_one();
  }
}
