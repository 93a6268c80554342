#include "fs/platform_file.h"

#include <windows.h>

#include "fs/fault_seam.h"
#include "fs/platform_transfer.h"
#include "fs/win32/device_name.h"
#include "fs/win32/quiet_errors.h"
#include "fs/win32/system_path.h"

namespace {

HANDLE Native(int64_t handle) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(handle)); }

// Records the system's last error as the last failure and yields `result`.
template <typename T>
T Failed(T result) {
  PlatformSetLastError(static_cast<int>(GetLastError()));
  return result;
}

DWORD AccessFrom(PlatformAccess access) {
  switch (access) {
    case PlatformAccess::Read:
      return GENERIC_READ;
    case PlatformAccess::ReadWrite:
      return GENERIC_READ | GENERIC_WRITE;
    case PlatformAccess::Write:
      return GENERIC_WRITE;
  }
  return 0;
}

// Deleting and renaming are admitted beside every opener, as on Linux: the file being
// written can still be removed when the program is interrupted. None admits no reader
// and no writer.
DWORD ShareFrom(PlatformShare share) {
  switch (share) {
    case PlatformShare::None:
      return FILE_SHARE_DELETE;
    case PlatformShare::Read:
      return FILE_SHARE_READ | FILE_SHARE_DELETE;
    case PlatformShare::All:
    case PlatformShare::Unlocked:
      return FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  }
  return 0;
}

DWORD DispositionFrom(PlatformDisposition disposition) {
  switch (disposition) {
    case PlatformDisposition::OpenExisting:
      return OPEN_EXISTING;
    case PlatformDisposition::OpenAlways:
      return OPEN_ALWAYS;
    case PlatformDisposition::CreateAlways:
      return CREATE_ALWAYS;
    case PlatformDisposition::TruncateExisting:
      return TRUNCATE_EXISTING;
  }
  return OPEN_EXISTING;
}

// The size of what was opened when it is a file on a disk: not a console, pipe or other
// device; else -1.
int64_t RegularFileSize(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return -1;
  }
  return static_cast<int64_t>(uint64_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow);
}

}  // namespace

PlatformFile PlatformFile::Open(std::u16string_view path, PlatformAccess access, PlatformDisposition disposition,
                                PlatformShare share) {
  const auto wide = SystemPath(path);
  if (!wide) {
    PlatformSetLastError(ERROR_INVALID_NAME);
    return {};
  }
  if (const int fault = FaultAt(FaultPoint::OpenFile, std::u16string(path)); fault != 0) {
    PlatformSetLastError(fault);
    return {};
  }
  // Only files on a disk are opened: opening a device (CON, NUL, COM1, \\.\ paths) can
  // have effects of its own, and a disk device would read as one huge file.
  if (NamesDevice(path)) {
    PlatformSetLastError(ERROR_INVALID_NAME);
    return {};
  }
  const QuietErrors quiet;
  // Truncation waits until the file is held and known to be a file.
  const DWORD create = disposition == PlatformDisposition::CreateAlways       ? OPEN_ALWAYS
                       : disposition == PlatformDisposition::TruncateExisting ? OPEN_EXISTING
                                                                              : DispositionFrom(disposition);
  const HANDLE handle =
      CreateFileW(wide->c_str(), AccessFrom(access), ShareFrom(share), nullptr, create, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return Failed(PlatformFile());
  PlatformFile file(static_cast<int64_t>(reinterpret_cast<intptr_t>(handle)));
  const int64_t size = RegularFileSize(handle);
  if (size < 0) {
    PlatformSetLastError(ERROR_ACCESS_DENIED);
    return {};
  }
  const bool truncate =
      disposition == PlatformDisposition::CreateAlways || disposition == PlatformDisposition::TruncateExisting;
  if (truncate && !SetEndOfFile(handle)) return Failed(PlatformFile());
  file.opened_size_ = truncate ? 0 : size;
  return file;
}

int64_t PlatformFile::Read(void* data, int64_t count) {
  if (!IsOpen()) return 0;
  auto* bytes = static_cast<char*>(data);
  return TransferInPieces(count, [&](int64_t done, int64_t size) {
    DWORD got = 0;
    return ReadFile(Native(handle_), bytes + done, static_cast<DWORD>(size), &got, nullptr) ? int64_t{got}
                                                                                            : Failed(int64_t{-1});
  });
}

int64_t PlatformFile::ReadAt(int64_t offset, void* data, int64_t count) {
  if (!IsOpen() || offset < 0) return 0;
  auto* bytes = static_cast<char*>(data);
  return TransferInPieces(count, [&](int64_t done, int64_t size) {
    // On a handle opened for synchronous reads the offset applies to this call alone.
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(static_cast<uint64_t>(offset + done));
    at.OffsetHigh = static_cast<DWORD>(static_cast<uint64_t>(offset + done) >> 32);
    DWORD got = 0;
    if (ReadFile(Native(handle_), bytes + done, static_cast<DWORD>(size), &got, &at)) return int64_t{got};
    // Reading at or past the end reports that instead of 0 bytes.
    return GetLastError() == ERROR_HANDLE_EOF ? int64_t{0} : Failed(int64_t{-1});
  });
}

int64_t PlatformFile::Write(const void* data, int64_t count) {
  if (!IsOpen()) return 0;
  const auto* bytes = static_cast<const char*>(data);
  return TransferInPieces(count, [&](int64_t done, int64_t size) {
    DWORD put = 0;
    return WriteFile(Native(handle_), bytes + done, static_cast<DWORD>(size), &put, nullptr) ? int64_t{put}
                                                                                             : Failed(int64_t{-1});
  });
}

int64_t PlatformFile::Seek(int64_t distance, PlatformOrigin origin) {
  if (!IsOpen()) return -1;
  const DWORD method = origin == PlatformOrigin::Start     ? FILE_BEGIN
                       : origin == PlatformOrigin::Current ? FILE_CURRENT
                                                           : FILE_END;
  LARGE_INTEGER move;
  move.QuadPart = distance;
  LARGE_INTEGER position;
  if (!SetFilePointerEx(Native(handle_), move, &position, method)) return Failed(int64_t{-1});
  return position.QuadPart;
}

bool PlatformFile::Sync() {
  if (!IsOpen()) return false;
  return FlushFileBuffers(Native(handle_)) ? true : Failed(false);
}

bool PlatformFile::Close() {
  if (!IsOpen()) return true;
  return CloseHandle(Native(std::exchange(handle_, 0))) != 0;
}
