#include "fs/platform_file.h"

#include <windows.h>

#include <algorithm>

#include "fs/win32/device_name.h"
#include "fs/win32/system_path.h"

namespace {

HANDLE Native(int64_t handle) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(handle)); }

thread_local int g_last_error = 0;

// Records the system's last error as the last failure and yields `result`.
template <typename T>
T Failed(T result) {
  g_last_error = static_cast<int>(GetLastError());
  return result;
}

// ReadFile and WriteFile count in 32 bits.
constexpr int64_t kMaxTransfer = int64_t{1} << 30;

DWORD AccessFrom(PlatformAccess access) {
  switch (access) {
    case PlatformAccess::Read: return GENERIC_READ;
    case PlatformAccess::ReadWrite: return GENERIC_READ | GENERIC_WRITE;
    case PlatformAccess::Write: return GENERIC_WRITE;
  }
  return 0;
}

// Deleting and renaming are admitted beside every opener, as on Linux: the file being
// written can still be removed when the program is interrupted. None admits no reader
// and no writer.
DWORD ShareFrom(PlatformShare share) {
  switch (share) {
    case PlatformShare::None: return FILE_SHARE_DELETE;
    case PlatformShare::Read: return FILE_SHARE_READ | FILE_SHARE_DELETE;
    case PlatformShare::All:
    case PlatformShare::Unlocked: return FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  }
  return 0;
}

DWORD DispositionFrom(PlatformDisposition disposition) {
  switch (disposition) {
    case PlatformDisposition::OpenExisting: return OPEN_EXISTING;
    case PlatformDisposition::OpenAlways: return OPEN_ALWAYS;
    case PlatformDisposition::CreateAlways: return CREATE_ALWAYS;
    case PlatformDisposition::TruncateExisting: return TRUNCATE_EXISTING;
  }
  return OPEN_EXISTING;
}

// Whether what was opened is a file on a disk: not a console, pipe or other device.
bool IsRegularFile(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info;
  return GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info) &&
         !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

template <typename Call>
int64_t Transfer(int64_t count, Call call) {
  int64_t total = 0;
  while (total < count) {
    DWORD done = 0;
    if (!call(total, static_cast<DWORD>(std::min(count - total, kMaxTransfer)), done)) {
      g_last_error = static_cast<int>(GetLastError());
      break;
    }
    if (done == 0) break;
    total += done;
  }
  return total;
}

}  // namespace

int PlatformLastError() { return g_last_error; }

void PlatformSetLastError(int code) { g_last_error = code; }

PlatformFile PlatformFile::Open(std::u16string_view path, PlatformAccess access,
                                PlatformDisposition disposition, PlatformShare share) {
  const auto wide = SystemPath(path);
  if (!wide) {
    g_last_error = ERROR_INVALID_NAME;
    return {};
  }
  // Only files on a disk are opened: opening a device (CON, NUL, COM1, \\.\ paths) can
  // have effects of its own, and a disk device would read as one huge file.
  if (NamesDevice(path)) {
    g_last_error = ERROR_INVALID_NAME;
    return {};
  }
  // Truncation waits until the file is held and known to be a file.
  const DWORD create = disposition == PlatformDisposition::CreateAlways       ? OPEN_ALWAYS
                       : disposition == PlatformDisposition::TruncateExisting ? OPEN_EXISTING
                                                                              : DispositionFrom(disposition);
  const HANDLE handle = CreateFileW(wide->c_str(), AccessFrom(access), ShareFrom(share), nullptr, create,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return Failed(PlatformFile());
  PlatformFile file(static_cast<int64_t>(reinterpret_cast<intptr_t>(handle)));
  if (!IsRegularFile(handle)) {
    g_last_error = ERROR_ACCESS_DENIED;
    return {};
  }
  const bool truncate = disposition == PlatformDisposition::CreateAlways ||
                        disposition == PlatformDisposition::TruncateExisting;
  if (truncate && !SetEndOfFile(handle)) return Failed(PlatformFile());
  return file;
}

int64_t PlatformFile::Read(void* data, int64_t count) {
  if (!IsOpen()) return 0;
  auto* bytes = static_cast<char*>(data);
  return Transfer(count, [&](int64_t done, DWORD piece, DWORD& got) {
    return ReadFile(Native(handle_), bytes + done, piece, &got, nullptr) != 0;
  });
}

int64_t PlatformFile::Write(const void* data, int64_t count) {
  if (!IsOpen()) return 0;
  const auto* bytes = static_cast<const char*>(data);
  return Transfer(count, [&](int64_t done, DWORD piece, DWORD& put) {
    return WriteFile(Native(handle_), bytes + done, piece, &put, nullptr) != 0;
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
