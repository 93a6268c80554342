#pragma once
// What an exit signal removes on Windows: a file held open, marked for deletion through
// its handle, so that no path is looked up again.

struct ExitSignalTarget {
  void* file = nullptr;  // a HANDLE opened with DELETE access
};
