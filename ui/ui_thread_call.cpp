#include "ui/ui_thread_call.h"

#include <deque>
#include <mutex>
#include <utility>

#include "ui/event_dispatch.h"

namespace {

struct Calls {
  std::mutex lock;
  std::deque<std::function<void()>> waiting;
  bool open = false;
};

Calls& TheCalls() {
  static Calls calls;
  return calls;
}

}  // namespace

void UiThreadCall(std::function<void()> call) {
  Calls& calls = TheCalls();
  const std::scoped_lock hold(calls.lock);
  if (!calls.open) return;
  calls.waiting.push_back(std::move(call));
  // Under the lock: the wake-up cannot be taken down meanwhile (UiThreadCallsClose
  // comes first).
  DispatchWakeUp();
}

void UiThreadCallsOpen() {
  Calls& calls = TheCalls();
  const std::scoped_lock hold(calls.lock);
  calls.open = true;
}

void UiThreadCallsRun() {
  Calls& calls = TheCalls();
  std::deque<std::function<void()>> taken;
  {
    const std::scoped_lock hold(calls.lock);
    taken.swap(calls.waiting);
  }
  // Run unlocked: a call may hand over another (it then runs with the next wait).
  for (std::function<void()>& call : taken) call();
}

void UiThreadCallsClose() {
  std::deque<std::function<void()>> dropped;
  Calls& calls = TheCalls();
  {
    const std::scoped_lock hold(calls.lock);
    calls.open = false;
    dropped.swap(calls.waiting);
  }
  // Destroyed unlocked: what a call holds may be large, or end in a call of its own.
}
