#pragma once
// Running another program as a child: in a folder of its choosing, in a process group of
// its own (on Windows a job) so that ending it ends whatever it started too, with what it
// writes to its standard error read through a pipe. It inherits no descriptor or handle
// of ours beyond the three standard ones it is given; its input is the null device.
#include <memory>
#include <string>
#include <vector>

#include "fs/platform_file.h"

struct ChildCommand {
  // A path (relative ones from our current folder), or a name looked up on PATH.
  std::u16string program;
  std::vector<std::u16string> arguments;  // after the program's own name
  std::u16string folder;                  // where it runs; empty: our current folder
};

class ChildProcess {
 public:
  // Starts the program. Its standard output goes to `output` when that is open (the
  // child writes through a copy of the handle, at its position), else into the pipe
  // beside its standard error. While it runs, an exit signal of ours ends its group
  // (see exit_signals.h); one child at a time.
  explicit ChildProcess(const ChildCommand& command, const PlatformFile* output = nullptr);
  // Ends the child's group when it still runs, and waits for it.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // 0 when the child started; else the system's code why not.
  int Error() const { return error_; }
  // The child did not start because no such program was found.
  bool ProgramMissing() const { return program_missing_; }
  // The next bytes the child writes into the pipe, as they come (blocks until there are
  // some); empty once every writer has closed it.
  std::string Read();
  // Ends the child and everything it started. Safe from another thread while Read or
  // Wait blocks, which then return; does nothing once Wait has returned.
  void End();
  // Waits for the child to end: its exit code; on Linux 128 + the signal's number when a
  // signal ended it. -1 when it never started.
  int Wait();

  // What each platform keeps of a child (defined beside its code).
  struct State;

 private:
  int error_ = 0;
  bool program_missing_ = false;
  std::unique_ptr<State> state_;
};
