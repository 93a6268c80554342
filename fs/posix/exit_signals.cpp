#include "fs/exit_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include "fs/exit_signal_note.h"
#include "fs/posix/exit_signal_target.h"
#include "fs/signal_slot.h"

namespace {

// The handler may run at any moment, on any thread.
SignalSlot<ExitSignalTarget> g_target;

void OnExitSignal(int number) {
  if (const ExitSignalTarget* target = g_target.Get()) unlinkat(target->folder, target->name, 0);
  for (std::string_view note = ExitSignalNoteBytes(); !note.empty();) {
    const ssize_t written = write(STDERR_FILENO, note.data(), note.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) break;
    note.remove_prefix(static_cast<size_t>(written));
  }
  _exit(128 + number);
}

}  // namespace

void ExitSignalsInstall() {
  struct sigaction action {};
  action.sa_handler = OnExitSignal;
  sigfillset(&action.sa_mask);
  for (const int number : {SIGINT, SIGTERM, SIGHUP}) sigaction(number, &action, nullptr);
}

void ExitSignalsSetTarget(const ExitSignalTarget* target) { g_target.Set(target); }
