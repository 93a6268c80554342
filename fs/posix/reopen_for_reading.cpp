#include "fs/posix/reopen_for_reading.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

int OpenAt(int folder, const char* name, int flags) {
  int fd;
  do {
    fd = ::openat(folder, name, flags, 0);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// Through the descriptor's own entry in /proc, which leads to the file held whatever
// happened to its name. Without /proc the name is opened again and kept only when it
// still is the file looked at; only there could a FIFO swapped in at that moment be
// opened (O_NONBLOCK keeps that from waiting, and it is closed unread).
int ReopenForReading(int look, int folder, const char* name, const struct stat& looked, int flags) {
  flags |= O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
  char own[40];
  std::snprintf(own, sizeof own, "/proc/self/fd/%d", look);
  const int fd = OpenAt(AT_FDCWD, own, flags & ~O_NOFOLLOW);
  if (fd >= 0 || errno != ENOENT || ::access("/proc/self/fd", F_OK) == 0) return fd;
  const int again = OpenAt(folder, name, flags);
  if (again < 0) return -1;
  struct stat status;
  const bool seen = fstat(again, &status) == 0;
  if (seen && status.st_dev == looked.st_dev && status.st_ino == looked.st_ino) return again;
  const int code = seen ? ESTALE : errno;  // ESTALE: the name leads elsewhere now
  ::close(again);
  errno = code;
  return -1;
}
