#pragma once
// Drives by number, 0 to 31, as the folder trees show them, where the system names its
// volumes by mount point (Linux) rather than by drive letter. A drive keeps its number
// while it stays mounted, as a drive letter does, so that a tree's drive nodes can be
// matched with the volumes that come and go.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "fs/mount_table.h"
#include "ui/folder_tree_nodes.h"

struct DriveChanges {
  DriveMask removed = 0;  // drives no longer mounted
  DriveMask arrived = 0;  // numbers given to newly mounted drives
  DriveMask changed = 0;  // still mounted at the same place, but another volume
};

class DriveTable {
 public:
  // Takes the drives now mounted (in MountTableDrives' order) and tells what changed.
  // A new drive gets the lowest free number, not one freed by this same change when
  // another is left, so that it is not taken for the drive that went.
  DriveChanges Update(const std::vector<MountEntry>& drives);
  DriveMask Present() const;
  // The drive under a number; null for none.
  const MountEntry* Drive(int64_t index) const;
  // The drive whose mount point is the longest leading part of the path (as whole
  // folder names); -1 for none.
  int64_t DriveOf(std::u16string_view path) const;

 private:
  std::array<std::optional<MountEntry>, kMaxDrives> drives_;
};

// The text of a drive's node path: its mount point with a final "/".
std::u16string DriveRootPath(const MountEntry& drive);
