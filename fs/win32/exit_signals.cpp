#include "fs/exit_signals.h"

#include <windows.h>

#include <atomic>

#include "fs/win32/exit_signal_target.h"

namespace {

// The handler runs on a thread of its own, at any moment: it reads the target g_target
// points to, and a new target is written into the other slot, so the one it may be
// reading stays whole.
ExitSignalTarget g_targets[2];
int g_next_slot = 0;
std::atomic<const ExitSignalTarget*> g_target{nullptr};
static_assert(std::atomic<const ExitSignalTarget*>::is_always_lock_free, "read from a control handler");

// Ctrl+C, Ctrl+Break, the console window closed, the user logging off or the system
// shutting down.
BOOL WINAPI OnExitSignal(DWORD) {
  // Marked for deletion, the file goes when the process ends and closes its handles.
  if (const ExitSignalTarget* target = g_target.load()) {
    FILE_DISPOSITION_INFO disposition{TRUE};
    SetFileInformationByHandle(target->file, FileDispositionInfo, &disposition, sizeof disposition);
  }
  TerminateProcess(GetCurrentProcess(), STATUS_CONTROL_C_EXIT);
  return TRUE;
}

}  // namespace

void ExitSignalsInstall() { SetConsoleCtrlHandler(OnExitSignal, TRUE); }

void ExitSignalsSetTarget(const ExitSignalTarget* target) {
  g_target.store(nullptr);
  if (target == nullptr) return;
  ExitSignalTarget& slot = g_targets[g_next_slot];
  g_next_slot ^= 1;
  slot = *target;
  g_target.store(&slot);
}
