#include "fs/mount_point_probe.h"

#include <sys/statvfs.h>

#include <cerrno>

#include "fs/posix/system_path.h"

MountPointState MountPointProbe(std::u16string_view mount_point) {
  const auto bytes = SystemPath(mount_point);
  if (!bytes) return MountPointState::kUnreadable;
  struct statvfs status;
  if (statvfs(bytes->c_str(), &status) == 0) return MountPointState::kReady;
  switch (errno) {
    case EIO:
    case ENOMEDIUM:
    case ENODEV:
    case ENXIO:
    case ENOTCONN:
    case ESTALE:
    case EHOSTDOWN:
    case ENOENT:
    case ENOTDIR:
      return MountPointState::kNotReady;
    default:
      return MountPointState::kUnreadable;
  }
}
