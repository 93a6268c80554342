#pragma once
// Ending the program on an interrupt, a termination, a hang-up or any other signal that
// ends a process without leaving a file half-written or a child running: the child's
// group is ended and the file being written is removed first.
#include <string_view>

// From now on every signal whose default is to end the process (SIGINT, SIGTERM, SIGHUP,
// SIGUSR1, SIGXCPU, the real-time signals and the others; not SIGKILL, and not those of a
// crash) ends the program with the exit code 128 + the signal's number, after removing
// the file of the current target; SIGPIPE and SIGXFSZ only where they are not ignored
// already. On Windows: Ctrl+C, Ctrl+Break and the console's closing, with
// STATUS_CONTROL_C_EXIT.
void ExitSignalsInstall();

// The file an exit signal removes: a FileReplacement's temporary file, in the form its
// platform can remove from a signal handler (see <platform>/exit_signal_target.h).
struct ExitSignalTarget;
// Copies the target (null: none). One at a time: a newer one takes the place of an older.
// Without ExitSignalsInstall it does nothing.
void ExitSignalsSetTarget(const ExitSignalTarget* target);

// The child an exit signal ends, with everything it started, before the program itself
// ends: a ChildProcess's group (see <platform>/exit_signal_target.h), so that no child
// outlives the program. Copied; null: none. One at a time, as for the target.
struct ExitSignalChild;
void ExitSignalsSetChild(const ExitSignalChild* child);

// From now on an exit signal writes `bytes` (at most 4095 of them) to standard error
// before the program ends, as the last thing the user reads; empty writes nothing.
// Replaces the bytes given before.
void ExitSignalNote(std::string_view bytes);
