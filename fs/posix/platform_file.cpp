#include "fs/platform_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "fs/fault_seam.h"
#include "fs/platform_transfer.h"
#include "fs/posix/system_path.h"

static_assert(sizeof(off_t) == 8, "file sizes and offsets are 64-bit");

namespace {

// Descriptor 0 is valid, so the handle is the descriptor plus one.
int Descriptor(int64_t handle) { return static_cast<int>(handle - 1); }

// Records errno as the last failure and yields `result`.
template <typename T>
T Failed(T result) {
  PlatformSetLastError(errno);
  return result;
}

int OpenFlags(PlatformAccess access, PlatformDisposition disposition) {
  // O_NONBLOCK keeps the open of a FIFO from waiting for a partner; plain files, the only
  // kind kept open, ignore it.
  int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
  switch (access) {
    case PlatformAccess::Read:
      flags |= O_RDONLY;
      break;
    case PlatformAccess::ReadWrite:
      flags |= O_RDWR;
      break;
    case PlatformAccess::Write:
      flags |= O_WRONLY;
      break;
  }
  if (disposition == PlatformDisposition::OpenAlways || disposition == PlatformDisposition::CreateAlways)
    flags |= O_CREAT;
  return flags;
}

// Sharing as advisory locks among openers that take them (this program): an exclusive
// opener holds LOCK_EX; openers that share hold LOCK_SH, so they admit each other but
// neither admit nor enter beside an exclusive one. Whether a sharer admits writers cannot
// be told to flock, so read sharing and full sharing lock alike.
bool TakeLock(int fd, PlatformShare share) {
  if (share == PlatformShare::Unlocked) return true;
  const int operation = (share == PlatformShare::None ? LOCK_EX : LOCK_SH) | LOCK_NB;
  for (;;) {
    if (flock(fd, operation) == 0) return true;
    if (errno == EINTR) continue;
    // A file system without locks opens the file unlocked rather than not at all.
    return errno != EWOULDBLOCK;
  }
}

// One read or write call, retried when a signal interrupts it.
template <typename Call>
int64_t Piece(Call call) {
  for (;;) {
    const ssize_t done = call();
    if (done >= 0) return done;
    if (errno != EINTR) return Failed(int64_t{-1});
  }
}

}  // namespace

PlatformFile PlatformFile::Open(std::u16string_view path, PlatformAccess access, PlatformDisposition disposition,
                                PlatformShare share) {
  const auto bytes = SystemPath(path);
  if (!bytes) {
    PlatformSetLastError(EINVAL);
    return {};
  }
  if (const int fault = FaultAt(FaultPoint::OpenFile, std::u16string(path)); fault != 0) {
    PlatformSetLastError(fault);
    return {};
  }
  // Only plain files are opened: opening a FIFO releases a writer waiting on it, and
  // opening a device can have effects of its own.
  struct stat status;
  if (::stat(bytes->c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
    PlatformSetLastError(S_ISDIR(status.st_mode) ? EISDIR : EINVAL);
    return {};
  }
  int fd;
  do {
    fd = ::open(bytes->c_str(), OpenFlags(access, disposition), 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return Failed(PlatformFile());
  PlatformFile file(int64_t{fd} + 1);

  // Checked again on what was opened, in case the path changed in between.
  if (fstat(fd, &status) != 0) return Failed(PlatformFile());
  if (!S_ISREG(status.st_mode)) {
    PlatformSetLastError(S_ISDIR(status.st_mode) ? EISDIR : EINVAL);
    return {};
  }
  if (!TakeLock(fd, share)) {
    PlatformSetLastError(EWOULDBLOCK);
    return {};
  }
  const bool truncate =
      disposition == PlatformDisposition::CreateAlways || disposition == PlatformDisposition::TruncateExisting;
  if (truncate && ftruncate(fd, 0) != 0) return Failed(PlatformFile());
  file.opened_size_ = truncate ? 0 : status.st_size;
  return file;
}

int64_t PlatformFile::Read(void* data, int64_t count) {
  if (!IsOpen()) return 0;
  auto* bytes = static_cast<char*>(data);
  return TransferInPieces(count, [&](int64_t done, int64_t size) {
    return Piece([&] { return ::read(Descriptor(handle_), bytes + done, static_cast<size_t>(size)); });
  });
}

int64_t PlatformFile::ReadAt(int64_t offset, void* data, int64_t count) {
  if (!IsOpen() || offset < 0) return 0;
  auto* bytes = static_cast<char*>(data);
  return TransferInPieces(count, [&](int64_t done, int64_t size) {
    return Piece([&] { return ::pread(Descriptor(handle_), bytes + done, static_cast<size_t>(size), offset + done); });
  });
}

int64_t PlatformFile::Write(const void* data, int64_t count) {
  if (!IsOpen()) return 0;
  const auto* bytes = static_cast<const char*>(data);
  return TransferInPieces(count, [&](int64_t done, int64_t size) {
    return Piece([&] { return ::write(Descriptor(handle_), bytes + done, static_cast<size_t>(size)); });
  });
}

int64_t PlatformFile::Seek(int64_t distance, PlatformOrigin origin) {
  if (!IsOpen()) return -1;
  const int whence = origin == PlatformOrigin::Start     ? SEEK_SET
                     : origin == PlatformOrigin::Current ? SEEK_CUR
                                                         : SEEK_END;
  return ::lseek(Descriptor(handle_), distance, whence);
}

bool PlatformFile::Sync() {
  if (!IsOpen()) return false;
  if (::fsync(Descriptor(handle_)) == 0) return true;
  // Some file systems and devices cannot sync; their bytes are as safe as they get.
  return errno == EINVAL || errno == EROFS ? true : Failed(false);
}

bool PlatformFile::Close() {
  if (!IsOpen()) return true;
  // Linux releases the descriptor even when close reports EINTR, so it is never retried.
  const int result = ::close(Descriptor(std::exchange(handle_, 0)));
  return result == 0;
}
