#include "ui/qt/folder_tree/drive_watch.h"

DriveWatch::DriveWatch(Changed changed)
    : MountedDrives(std::move(changed)), table_(QString::fromLatin1(kMountTableFile)) {
  // The kernel marks the table's descriptor with an exceptional condition whenever a
  // volume is mounted or unmounted.
  if (!table_.open(QIODevice::ReadOnly)) return;
  notifier_ = std::make_unique<QSocketNotifier>(table_.handle(), QSocketNotifier::Exception);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { Refresh(); });
}
