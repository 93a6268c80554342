#include "fs/plain_file_open.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <utility>

#include "fs/fault_seam.h"
#include "fs/posix/stat_stamp.h"
#include "fs/posix/system_path.h"

namespace {

// Closes a descriptor when it goes out of scope.
struct Descriptor {
  int fd = -1;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
};

// openat, retried when a signal interrupts it.
int OpenAt(int folder, const char* name, int flags) {
  int fd;
  do {
    fd = ::openat(folder, name, flags);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

constexpr int kReadFlags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;

// Opens for reading the very file the O_PATH descriptor `look` holds, whatever its name
// leads to by now: through the descriptor's entry in /proc. Without /proc the name is
// opened again and kept only when it still is the file looked at; only there could a
// FIFO swapped in at that moment be opened (O_NONBLOCK keeps that from waiting, and it
// is closed unread).
int Reopen(int look, int folder, const char* name, const struct stat& looked) {
  char own[40];
  std::snprintf(own, sizeof own, "/proc/self/fd/%d", look);
  const int fd = OpenAt(AT_FDCWD, own, kReadFlags);
  if (fd >= 0 || errno != ENOENT || ::access("/proc/self/fd", F_OK) == 0) return fd;
  Descriptor again{OpenAt(folder, name, kReadFlags)};
  struct stat status;
  if (again.fd < 0) return -1;
  if (fstat(again.fd, &status) != 0) return -1;
  if (status.st_dev != looked.st_dev || status.st_ino != looked.st_ino) {
    errno = ESTALE;  // the name leads elsewhere now
    return -1;
  }
  return std::exchange(again.fd, -1);
}

OpenedFile Refused(int code) {
  OpenedFile opened;
  opened.error = code != 0 ? code : -1;
  return opened;
}

}  // namespace

OpenedFile OpenPlainFileAt(const FolderHandle& folder, std::u16string_view name) {
  const auto bytes = SystemPath(name);
  if (!bytes || folder.Handle() == 0) return Refused(EINVAL);
  const std::u16string path = folder.Path() + std::u16string(name);
  if (const int fault = FaultAt(FaultPoint::OpenFile, path); fault != 0) return Refused(fault);
  const int folder_fd = static_cast<int>(folder.Handle() - 1);

  // O_PATH opens nothing for reading: a FIFO's writer is not released, a device not touched.
  const Descriptor look{OpenAt(folder_fd, bytes->c_str(), O_PATH | O_CLOEXEC)};
  if (look.fd < 0) return Refused(errno);
  struct stat status;
  if (fstat(look.fd, &status) != 0) return Refused(errno);
  OpenedFile opened;
  opened.stamp = StampOfStatus(status);
  if (!S_ISREG(status.st_mode)) {
    opened.kind = OpenedKind::NotPlain;
    return opened;
  }
  if (const int fault = FaultAt(FaultPoint::FileLooked, path); fault != 0) return Refused(fault);
  const int fd = Reopen(look.fd, folder_fd, bytes->c_str(), status);
  if (fd < 0) return Refused(errno);
  opened.kind = OpenedKind::Plain;
  opened.file = PlatformFile::Adopt(int64_t{fd} + 1, status.st_size);
  return opened;
}
