#include "fs/exit_signals.h"

#include <windows.h>

#include "fs/win32/exit_signal_target.h"
#include "fs/signal_slot.h"

namespace {

// The handler may run at any moment, on any thread.
SignalSlot<ExitSignalTarget> g_target;

// Ctrl+C, Ctrl+Break, the console window closed, the user logging off or the system
// shutting down.
BOOL WINAPI OnExitSignal(DWORD) {
  // Marked for deletion, the file goes when the process ends and closes its handles.
  if (const ExitSignalTarget* target = g_target.Get()) {
    FILE_DISPOSITION_INFO disposition{TRUE};
    SetFileInformationByHandle(target->file, FileDispositionInfo, &disposition, sizeof disposition);
  }
  TerminateProcess(GetCurrentProcess(), STATUS_CONTROL_C_EXIT);
  return TRUE;
}

}  // namespace

void ExitSignalsInstall() { SetConsoleCtrlHandler(OnExitSignal, TRUE); }

void ExitSignalsSetTarget(const ExitSignalTarget* target) { g_target.Set(target); }
