#pragma once
// Whether a drive's mount point can be read now.
#include <string_view>

enum class MountPointState {
  kReady,
  kNotReady,    // no medium, a device gone or failing, the mount point missing
  kUnreadable,  // any other failure, such as no permission
};

MountPointState MountPointProbe(std::u16string_view mount_point);
