#pragma once
// The mounted drives, read again whenever the system's table changes.
#include <QFile>
#include <QSocketNotifier>
#include <memory>

#include "ui/mounted_drives.h"

class DriveWatch : public MountedDrives {
 public:
  explicit DriveWatch(Changed changed);

 private:
  QFile table_;  // open while watched: changes show on its descriptor
  std::unique_ptr<QSocketNotifier> notifier_;
};
