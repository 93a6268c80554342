#include "fs/folder_handle.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "fs/fault_seam.h"
#include "fs/posix/system_path.h"

std::shared_ptr<const FolderHandle> FolderHandle::Open(const std::u16string& path, int& error) {
  const auto bytes = SystemPath(path);
  if (!bytes || bytes->empty()) {
    error = bytes ? ENOENT : EINVAL;
    return nullptr;
  }
  if (const int fault = FaultAt(FaultPoint::OpenFolder, path); fault != 0) {
    error = fault;
    return nullptr;
  }
  // O_PATH needs no read permission of the folder itself and reads nothing: it only holds
  // the folder for the names opened in it.
  int fd;
  do {
    fd = ::open(bytes->c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    error = errno;
    return nullptr;
  }
  struct stat status;
  if (fstat(fd, &status) != 0) {
    error = errno;
    ::close(fd);
    return nullptr;
  }
  const FolderIdentity identity{static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino)};
  // Descriptor 0 is valid, so the handle is the descriptor plus one.
  return std::make_shared<const FolderHandle>(path, int64_t{fd} + 1, identity);
}

FolderHandle::~FolderHandle() {
  if (handle_ != 0) ::close(static_cast<int>(handle_ - 1));
}
