#pragma once
// Worker threads that measure image files ahead of the scan. Jobs are numbered as they
// are submitted and their results are taken back in that same order, so whoever drains
// the pool sees exactly the order of a one-thread run.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "fs/file_stamp.h"
#include "fs/folder_handle.h"
#include "image/image_measure.h"

// A file's size, and the system's error code when the system rather than the file's
// content kept it from being read (the size is then 1 x 1); 0 otherwise.
struct Measurement {
  ImageSize size;
  int system_error = 0;
  FileStamp stamp;  // of the file measured, where it could be looked at
};

// A file to measure: its name in a folder the walk holds, and whether the folder's
// listing saw a regular file by that name.
struct MeasureJob {
  std::shared_ptr<const FolderHandle> folder;
  std::u16string name;
  bool listed_plain = false;
};

// Measures one file; called on the workers, several at once.
using SizeMeasurer = Measurement (*)(const MeasureJob& job);

class MeasurePool {
 public:
  // `capacity` bounds the jobs submitted and not yet taken. Starts `workers` threads;
  // with none (0, or when the system gives none) TakeOldest measures on the calling thread.
  MeasurePool(SizeMeasurer measure, int workers, size_t capacity);
  // Drops the jobs not yet taken and joins the workers (each finishes its current file).
  ~MeasurePool();
  MeasurePool(const MeasurePool&) = delete;
  MeasurePool& operator=(const MeasurePool&) = delete;

  // False, and nothing queued, when `capacity` jobs are waiting to be taken.
  bool Submit(MeasureJob job);
  // The result of the oldest job not yet taken, once it is ready; nothing when there is
  // no job or it is still not done after `wait`. Where it must wait, it waits until the
  // `together` oldest results are ready (or all there are) or `wait` is over, so that a
  // taker that keeps the pool full is woken once for many results, not for each.
  std::optional<Measurement> TakeOldest(std::chrono::milliseconds wait, uint64_t together = 1);

 private:
  struct Slot {
    MeasureJob job;
    Measurement size;
    bool done = false;
  };
  void Work();
  // Whether the jobs [taken_, wanted_] are all done; the lock held.
  bool WantedReady();
  Slot& SlotOf(uint64_t job) { return slots_[job % slots_.size()]; }

  const SizeMeasurer measure_;
  const uint64_t workers_asked_;
  std::mutex mutex_;
  std::condition_variable work_ready_;
  std::condition_variable job_done_;
  // Jobs are numbered from 0: [taken_, submitted_) are pending, [claimed_, submitted_)
  // not yet started by a worker.
  std::vector<Slot> slots_;
  uint64_t submitted_ = 0;
  uint64_t claimed_ = 0;
  uint64_t taken_ = 0;
  bool taker_waiting_ = false;          // TakeOldest waits for job_done_
  uint64_t wanted_ = 0;                 // the newest job it waits for
  std::atomic<bool> stopping_ = false;  // also read by workers between the jobs they claimed
  std::vector<std::thread> workers_;
};
