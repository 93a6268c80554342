#include "ui/background_work.h"

#include <utility>

#include "ui/events.h"

BackgroundWork::BackgroundWork(int64_t window, int64_t command) : window_(window), command_(command) {}

BackgroundWork::~BackgroundWork() {
  {
    const std::lock_guard hold(lock_);
    stopping_ = true;
    jobs_.clear();
  }
  job_ready_.notify_all();
  if (worker_.joinable()) worker_.join();
}

void BackgroundWork::Run(Job job) {
  {
    const std::lock_guard hold(lock_);
    jobs_.push_back(std::move(job));
    if (!worker_.joinable()) worker_ = std::thread(&BackgroundWork::Work, this);
  }
  job_ready_.notify_one();
}

void BackgroundWork::Deliver() {
  std::vector<Finish> results;
  {
    const std::lock_guard hold(lock_);
    results.swap(results_);
    posted_ = false;
  }
  // Outside the lock: a result may well give the worker more to do.
  for (Finish& finish : results)
    if (finish) finish();
}

void BackgroundWork::Cancel() {
  const std::lock_guard hold(lock_);
  ++generation_;
  jobs_.clear();
  results_.clear();
}

void BackgroundWork::Work() {
  std::unique_lock hold(lock_);
  for (;;) {
    job_ready_.wait(hold, [this] { return stopping_ || !jobs_.empty(); });
    if (stopping_) return;
    Job job = std::move(jobs_.front());
    jobs_.pop_front();
    const uint64_t generation = generation_;
    hold.unlock();
    Finish finish = job();
    // The job's own objects go here, off the user-interface thread and outside the lock.
    job = nullptr;
    hold.lock();
    if (stopping_) return;
    if (generation != generation_) continue;
    results_.push_back(std::move(finish));
    if (!std::exchange(posted_, true)) EventPostFromThread(CommandEvent, command_, window_, 0);
  }
}
