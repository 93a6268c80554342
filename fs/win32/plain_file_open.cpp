#include "fs/plain_file_open.h"

#include <windows.h>

#include <string>

#include "fs/fault_seam.h"
#include "fs/win32/device_name.h"
#include "fs/win32/file_times.h"
#include "fs/win32/quiet_errors.h"
#include "fs/win32/system_path.h"

namespace {

int64_t Nanoseconds(const FILETIME& time) {
  return NanosecondsSince1970(static_cast<int64_t>(uint64_t{time.dwHighDateTime} << 32 | time.dwLowDateTime));
}

// The status's change time comes from a second call; 0 where the system does not tell it.
FileStamp StampOf(HANDLE handle, const BY_HANDLE_FILE_INFORMATION& info) {
  FILE_BASIC_INFO basic{};
  const bool changed = GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic) != 0;
  return {info.dwVolumeSerialNumber,
          uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow,
          static_cast<int64_t>(uint64_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow),
          Nanoseconds(info.ftLastWriteTime),
          changed ? NanosecondsSince1970(basic.ChangeTime.QuadPart) : 0,
          0};
}

OpenedFile Refused(DWORD code) {
  OpenedFile opened;
  opened.error = code != 0 ? static_cast<int>(code) : -1;
  return opened;
}

}  // namespace

// A name is opened by its path, and what the handle holds is what is read: a file that
// is not on a disk, or is a folder, is left unread. The open is the look, whatever the
// listing saw.
OpenedFile OpenPlainFileAt(const FolderHandle& folder, std::u16string_view name, bool /*listed_plain*/) {
  const std::u16string path = folder.Path() + std::u16string(name);
  const auto wide = SystemPath(path);
  if (!wide) return Refused(ERROR_INVALID_NAME);
  if (const int fault = FaultAt(FaultPoint::OpenFile, path); fault != 0) return Refused(static_cast<DWORD>(fault));
  OpenedFile opened;
  // Opening a device (CON, NUL, COM1 in any folder) can have effects of its own.
  if (NamesDevice(path)) {
    opened.kind = OpenedKind::NotPlain;
    return opened;
  }
  if (const int fault = FaultAt(FaultPoint::FileLooked, path); fault != 0) return Refused(static_cast<DWORD>(fault));
  const QuietErrors quiet;
  const HANDLE handle = CreateFileW(wide->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return Refused(GetLastError());
  const bool on_disk = GetFileType(handle) == FILE_TYPE_DISK;
  BY_HANDLE_FILE_INFORMATION info;
  const bool known = on_disk && GetFileInformationByHandle(handle, &info);
  const DWORD why = on_disk && !known ? GetLastError() : 0;
  if (known) opened.stamp = StampOf(handle, info);
  // Owned from here, so that every way out below closes it.
  PlatformFile file = PlatformFile::Adopt(static_cast<int64_t>(reinterpret_cast<intptr_t>(handle)), opened.stamp.size);
  if (!on_disk || (known && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))) {
    opened.kind = OpenedKind::NotPlain;
    return opened;
  }
  if (!known) return Refused(why);
  opened.kind = OpenedKind::Plain;
  opened.file = std::move(file);
  return opened;
}
