#include "fs/exit_signals.h"

#include <windows.h>

#include <atomic>
#include <cstring>

#include "fs/exit_signal_note.h"
#include "fs/win32/system_path.h"

namespace {

// The handler runs on a thread of its own, at any moment: it reads the path g_path
// points to, and a new path is written into the other buffer, so the one it may be
// reading stays whole. 32767 units is the longest path the system takes.
constexpr size_t kLongestPath = 32768;
wchar_t g_paths[2][kLongestPath];
int g_next_buffer = 0;
std::atomic<const wchar_t*> g_path{nullptr};
static_assert(std::atomic<const wchar_t*>::is_always_lock_free, "read from a control handler");

// Ctrl+C, Ctrl+Break, the console window closed, the user logging off or the system
// shutting down.
BOOL WINAPI OnExitSignal(DWORD) {
  // Files are opened with deleting admitted (platform_file.cpp): it goes when the
  // process ends.
  if (const wchar_t* path = g_path.load()) DeleteFileW(path);
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

ExitSignalCleanup::ExitSignalCleanup(const std::u16string& path) {
  g_path.store(nullptr);
  const auto wide = SystemPath(path);
  // A path too long to name a file names none that could be left behind.
  if (!wide || wide->empty() || wide->size() >= kLongestPath) return;
  wchar_t* buffer = g_paths[g_next_buffer];
  g_next_buffer ^= 1;
  std::memcpy(buffer, wide->c_str(), (wide->size() + 1) * sizeof(wchar_t));
  g_path.store(buffer);
}

ExitSignalCleanup::~ExitSignalCleanup() { g_path.store(nullptr); }
