#pragma once
// While one lives, the system shows no box of its own for a drive without a medium or a
// file it cannot open ("There is no disk in the drive"): the call fails and tells the
// caller, who reports it as for any other folder or file. Per thread, so the measuring
// workers keep their own.
#include <windows.h>

class QuietErrors {
 public:
  QuietErrors() { SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &old_mode_); }
  ~QuietErrors() { SetThreadErrorMode(old_mode_, nullptr); }
  QuietErrors(const QuietErrors&) = delete;
  QuietErrors& operator=(const QuietErrors&) = delete;

 private:
  DWORD old_mode_ = 0;
};
