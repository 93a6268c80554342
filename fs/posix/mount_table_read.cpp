#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "fs/mount_table.h"

std::string MountTableRead(const char* file) {
  const int fd = open(file, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {};
  // The kernel makes the text as it is read; its size is not known beforehand.
  std::string text;
  char chunk[4096];
  for (;;) {
    const ssize_t got = read(fd, chunk, sizeof chunk);
    if (got > 0) {
      text.append(chunk, static_cast<size_t>(got));
    } else if (got < 0 && errno == EINTR) {
      continue;
    } else {
      if (got < 0) text.clear();  // half a table would look like volumes going away
      break;
    }
  }
  close(fd);
  return text;
}
