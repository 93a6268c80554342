#include "fs/plain_file_open.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "fs/fault_seam.h"
#include "fs/posix/descriptor.h"
#include "fs/posix/reopen_for_reading.h"
#include "fs/posix/system_path.h"

namespace {

int64_t Nanoseconds(const timespec& time) { return int64_t{time.tv_sec} * 1'000'000'000 + time.tv_nsec; }

FileStamp StampOf(const struct stat& status) {
  return {static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino), status.st_size,
          Nanoseconds(status.st_mtim), Nanoseconds(status.st_ctim), static_cast<uint32_t>(status.st_uid)};
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
  const Descriptor look(OpenAt(folder_fd, bytes->c_str(), O_PATH | O_CLOEXEC));
  if (look.fd < 0) return Refused(errno);
  struct stat status;
  if (fstat(look.fd, &status) != 0) return Refused(errno);
  OpenedFile opened;
  opened.stamp = StampOf(status);
  if (!S_ISREG(status.st_mode)) {
    opened.kind = OpenedKind::NotPlain;
    return opened;
  }
  if (const int fault = FaultAt(FaultPoint::FileLooked, path); fault != 0) return Refused(fault);
  const int fd = ReopenForReading(look.fd, folder_fd, bytes->c_str(), status, 0);
  if (fd < 0) return Refused(errno);
  opened.kind = OpenedKind::Plain;
  opened.file = PlatformFile::Adopt(int64_t{fd} + 1, status.st_size);
  return opened;
}
