#include "fs/exit_signals.h"

#include <signal.h>
#include <string.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>

#include "fs/exit_signal_note.h"
#include "fs/posix/system_path.h"

namespace {

// The handler may run on any thread, at any moment: it reads the path g_path points to,
// and a new path is written into the other buffer, so the one it may be reading stays
// whole.
char g_paths[2][PATH_MAX];
int g_next_buffer = 0;
std::atomic<const char*> g_path{nullptr};
static_assert(std::atomic<const char*>::is_always_lock_free, "read from a signal handler");

void OnExitSignal(int number) {
  if (const char* path = g_path.load()) unlink(path);
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

ExitSignalCleanup::ExitSignalCleanup(const std::u16string& path) {
  g_path.store(nullptr);
  const auto bytes = SystemPath(path);
  // A path too long to name a file names none that could be left behind.
  if (!bytes || bytes->empty() || bytes->size() >= PATH_MAX) return;
  char* buffer = g_paths[g_next_buffer];
  g_next_buffer ^= 1;
  memcpy(buffer, bytes->c_str(), bytes->size() + 1);
  g_path.store(buffer);
}

ExitSignalCleanup::~ExitSignalCleanup() { g_path.store(nullptr); }
