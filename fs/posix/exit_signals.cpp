#include "fs/exit_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>

#include "fs/posix/exit_signal_target.h"

namespace {

// The handler may run on any thread, at any moment: it reads the target g_target points
// to, and a new target is written into the other slot, so the one it may be reading stays
// whole.
ExitSignalTarget g_targets[2];
int g_next_slot = 0;
std::atomic<const ExitSignalTarget*> g_target{nullptr};
static_assert(std::atomic<const ExitSignalTarget*>::is_always_lock_free, "read from a signal handler");

void OnExitSignal(int number) {
  if (const ExitSignalTarget* target = g_target.load()) unlinkat(target->folder, target->name, 0);
  _exit(128 + number);
}

}  // namespace

void ExitSignalsInstall() {
  struct sigaction action {};
  action.sa_handler = OnExitSignal;
  sigfillset(&action.sa_mask);
  for (const int number : {SIGINT, SIGTERM, SIGHUP}) sigaction(number, &action, nullptr);
}

void ExitSignalsSetTarget(const ExitSignalTarget* target) {
  g_target.store(nullptr);
  if (target == nullptr) return;
  ExitSignalTarget& slot = g_targets[g_next_slot];
  g_next_slot ^= 1;
  slot = *target;
  g_target.store(&slot);
}
