#pragma once
// The drives of the system's mount table (see DriveTable), read again whenever the
// system says the table changed or the user asks, telling which drives came, went or
// changed.
#include <functional>
#include <string>

#include "ui/drive_table.h"

class MountedDrives {
 public:
  using Changed = std::function<void(const DriveChanges&)>;
  // Reads the table now; `changed` runs after each change read later, with the drives
  // already updated. The newest one made is the one MountedDrivesRefresh reads.
  explicit MountedDrives(Changed changed);
  ~MountedDrives();
  MountedDrives(const MountedDrives&) = delete;
  MountedDrives& operator=(const MountedDrives&) = delete;

  const DriveTable& Drives() const { return drives_; }
  // Reads the table again and reports what changed, if anything. A table that cannot
  // be read says nothing about the drives: they are kept.
  void Refresh();

 private:
  DriveTable drives_;
  Changed changed_;
};

// Where the table's text comes from: the system's table, unless a test sets another
// source (a fake table); null goes back to the system's.
void MountedDrivesSourceSet(std::function<std::string()> source);
// Refreshes the drives in use, as a change of the system's table does. Nothing when
// none are.
void MountedDrivesRefresh();
