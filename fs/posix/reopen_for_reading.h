#pragma once
// Opening for reading exactly the file an O_PATH descriptor holds, never what its name
// leads to by now: what makes a look at a file and the read of it one and the same file.
#include <sys/stat.h>

// A descriptor open for reading (O_NONBLOCK, O_NOCTTY, close-on-exec, and `flags`) on
// the file `look` holds, which is `name` in `folder` and was seen as `looked`; -1 with
// errno where the system refuses it.
int ReopenForReading(int look, int folder, const char* name, const struct stat& looked, int flags);

// openat of an existing name, retried when a signal interrupts it.
int OpenAt(int folder, const char* name, int flags);
