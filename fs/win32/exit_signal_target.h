#pragma once
// What an exit signal removes on Windows: a file held open, marked for deletion through
// its handle, so that no path is looked up again.

struct ExitSignalTarget {
  void* file = nullptr;  // a HANDLE opened with DELETE access
};

// The child an exit signal ends: the job that holds it and all it started, or, where
// the system gave it no job of its own, the child's process alone.
struct ExitSignalChild {
  void* job = nullptr;      // a job HANDLE, or null
  void* process = nullptr;  // the child's process HANDLE
};
