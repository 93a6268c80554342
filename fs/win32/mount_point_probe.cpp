#include "fs/mount_point_probe.h"

#include <windows.h>

#include "fs/win32/system_path.h"

MountPointState MountPointProbe(std::u16string_view mount_point) {
  auto wide = SystemPath(mount_point);
  if (!wide) return MountPointState::kUnreadable;
  if (!wide->empty() && wide->back() != L'\\' && wide->back() != L'/') *wide += L'\\';
  // No "insert a disk" box from the system: an empty drive is told to the caller.
  DWORD old_mode = 0;
  SetThreadErrorMode(SEM_FAILCRITICALERRORS, &old_mode);
  ULARGE_INTEGER free_bytes;
  const bool ready = GetDiskFreeSpaceExW(wide->c_str(), &free_bytes, nullptr, nullptr) != 0;
  const DWORD error = GetLastError();
  SetThreadErrorMode(old_mode, nullptr);
  if (ready) return MountPointState::kReady;
  switch (error) {
    case ERROR_NOT_READY:
    case ERROR_INVALID_DRIVE:
    case ERROR_UNRECOGNIZED_MEDIA:
    case ERROR_NO_MEDIA_IN_DRIVE:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_BAD_NETPATH:
    case ERROR_NETNAME_DELETED:
    case ERROR_GEN_FAILURE:
    case ERROR_CRC:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return MountPointState::kNotReady;
    default:
      return MountPointState::kUnreadable;
  }
}
