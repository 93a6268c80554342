#include "fs/exit_signals.h"

#include <windows.h>

#include "fs/exit_signal_note.h"
#include "fs/signal_slot.h"
#include "fs/win32/exit_signal_target.h"

namespace {

// The handler runs on a thread of its own, at any moment.
SignalSlot<ExitSignalTarget> g_target;
SignalSlot<ExitSignalChild> g_child;

// Ctrl+C, Ctrl+Break, the console window closed, the user logging off or the system
// shutting down.
BOOL WINAPI OnExitSignal(DWORD) {
  // First, so that the child no longer writes what is removed next.
  if (const ExitSignalChild* child = g_child.Get()) {
    if (child->job == nullptr || !TerminateJobObject(child->job, STATUS_CONTROL_C_EXIT)) {
      TerminateProcess(child->process, STATUS_CONTROL_C_EXIT);
    }
  }
  // Marked for deletion, the file goes when the process ends and closes its handles.
  if (const ExitSignalTarget* target = g_target.Get()) {
    FILE_DISPOSITION_INFO disposition{TRUE};
    SetFileInformationByHandle(target->file, FileDispositionInfo, &disposition, sizeof disposition);
  }
  const std::string_view note = ExitSignalNoteBytes();
  DWORD written = 0;
  if (!note.empty()) {
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), note.data(), static_cast<DWORD>(note.size()), &written, nullptr);
  }
  TerminateProcess(GetCurrentProcess(), STATUS_CONTROL_C_EXIT);
  return TRUE;
}

}  // namespace

void ExitSignalsInstall() { SetConsoleCtrlHandler(OnExitSignal, TRUE); }

void ExitSignalsSetTarget(const ExitSignalTarget* target) { g_target.Set(target); }

void ExitSignalsSetChild(const ExitSignalChild* child) { g_child.Set(child); }
