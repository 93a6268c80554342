#pragma once
// Ending the program on an interrupt, a termination or a hang-up without leaving a file
// half-written: the file being written is removed first.
#include <string>
#include <string_view>

// From now on SIGINT, SIGTERM and SIGHUP end the program with the exit code 128 + the
// signal's number (on Windows: Ctrl+C, Ctrl+Break and the console's closing, with
// STATUS_CONTROL_C_EXIT), after removing the file an ExitSignalCleanup names.
void ExitSignalsInstall();

// While it lives, an exit signal removes the file at `path` (which need not exist yet)
// before the program ends. One at a time: a newer one takes the place of an older.
// Without ExitSignalsInstall it does nothing.
class ExitSignalCleanup {
 public:
  explicit ExitSignalCleanup(const std::u16string& path);
  ~ExitSignalCleanup();
  ExitSignalCleanup(const ExitSignalCleanup&) = delete;
  ExitSignalCleanup& operator=(const ExitSignalCleanup&) = delete;
};

// From now on an exit signal writes `bytes` (at most 4095 of them) to standard error
// before the program ends, as the last thing the user reads; empty writes nothing.
// Replaces the bytes given before.
void ExitSignalNote(std::string_view bytes);
