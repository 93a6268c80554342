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
SignalSlot<ExitSignalChild> g_child;

void OnExitSignal(int number) {
  // First, so that the child no longer writes what is removed next.
  if (const ExitSignalChild* child = g_child.Get(); child && child->group > 0) kill(-child->group, SIGKILL);
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
  // Every signal that ends a process by default and that others or limits send. Not the
  // signals of a crash (SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGTRAP, SIGSYS, SIGABRT), which
  // the sanitizers and a core dump must see as they are; nor SIGKILL, which no program
  // catches.
  for (const int number : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF, SIGXCPU,
                           SIGPOLL, SIGPWR, SIGSTKFLT, SIGPIPE, SIGXFSZ}) {
    // A closed output or a file size limit the program chose to ignore stays an error
    // of the write it meets (see console.h).
    struct sigaction current {};
    if ((number == SIGPIPE || number == SIGXFSZ) && sigaction(number, nullptr, &current) == 0 &&
        current.sa_handler == SIG_IGN) {
      continue;
    }
    sigaction(number, &action, nullptr);
  }
  for (int number = SIGRTMIN; number <= SIGRTMAX; ++number) sigaction(number, &action, nullptr);
}

void ExitSignalsSetTarget(const ExitSignalTarget* target) { g_target.Set(target); }

void ExitSignalsSetChild(const ExitSignalChild* child) { g_child.Set(child); }
