#pragma once
// Work kept off the user-interface thread: jobs run one after another, in the order
// given, on a worker thread of the work's own; what a job leaves to be done with its
// result runs back on the user-interface thread, when that takes the CommandEvent the
// work queues for it and calls Deliver. Cancel drops what is no longer wanted (the
// jobs not started, and the results of every job given before it), so the user-interface
// thread never sees a result it has moved on from.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class BackgroundWork {
 public:
  // What a job leaves for the user-interface thread; an empty one: nothing.
  using Finish = std::function<void()>;
  // Runs on the worker: must not touch windows, controls or other numbered objects of
  // the user-interface thread.
  using Job = std::function<Finish()>;

  // Finished jobs queue CommandEvent `command` for `window`: one event for all the
  // results that wait to be delivered. Needs the event queue (UiEventsInit) for as long
  // as jobs may finish: end the work before UiEventsEnd.
  BackgroundWork(int64_t window, int64_t command);
  // Drops the jobs not yet started and waits for the one running, whose result is dropped.
  ~BackgroundWork();
  BackgroundWork(const BackgroundWork&) = delete;
  BackgroundWork& operator=(const BackgroundWork&) = delete;

  // Queues a job; the worker starts with the first.
  void Run(Job job);
  // Runs, on the calling (user-interface) thread, the results of the jobs finished so
  // far, in the order the jobs were given.
  void Deliver();
  // Forgets the jobs not yet started and the results not yet delivered; the job running
  // finishes, but its result is dropped.
  void Cancel();

 private:
  void Work();

  const int64_t window_;
  const int64_t command_;
  std::mutex lock_;
  std::condition_variable job_ready_;
  std::deque<Job> jobs_;
  std::vector<Finish> results_;
  // Counts the cancellations: a job's result counts only if none came while it ran.
  uint64_t generation_ = 0;
  // A command event is queued and not yet followed by Deliver.
  bool posted_ = false;
  bool stopping_ = false;
  std::thread worker_;  // started by the first Run
};
