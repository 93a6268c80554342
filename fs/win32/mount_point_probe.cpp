#include "fs/mount_point_probe.h"

#include <windows.h>

#include "fs/win32/quiet_errors.h"
#include "fs/win32/system_path.h"

MountPointState MountPointProbe(std::u16string_view mount_point) {
  auto wide = SystemPath(mount_point);
  if (!wide) return MountPointState::kUnreadable;
  if (!wide->empty() && wide->back() != L'\\' && wide->back() != L'/') *wide += L'\\';
  const QuietErrors quiet;
  ULARGE_INTEGER free_bytes;
  if (GetDiskFreeSpaceExW(wide->c_str(), &free_bytes, nullptr, nullptr)) return MountPointState::kReady;
  const DWORD error = GetLastError();
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
