#include "ui/drive_table.h"

namespace {

constexpr DriveMask Bit(size_t index) { return DriveMask{1} << index; }

}  // namespace

DriveChanges DriveTable::Update(const std::vector<MountEntry>& drives) {
  DriveChanges changes;
  for (size_t i = 0; i < drives_.size(); ++i) {
    if (!drives_[i]) continue;
    bool still = false;
    for (const MountEntry& drive : drives) still = still || drive.mount_point == drives_[i]->mount_point;
    if (!still) {
      drives_[i].reset();
      changes.removed |= Bit(i);
    }
  }
  for (const MountEntry& drive : drives) {
    size_t held = drives_.size();
    for (size_t i = 0; i < drives_.size(); ++i)
      if (drives_[i] && drives_[i]->mount_point == drive.mount_point) held = i;
    if (held < drives_.size()) {
      if (drives_[held]->device != drive.device || drives_[held]->type != drive.type) {
        drives_[held] = drive;
        changes.changed |= Bit(held);
      }
      continue;
    }
    const auto lowest_unused = [&](bool spare_freed) {
      for (size_t i = 0; i < drives_.size(); ++i)
        if (!drives_[i] && !(spare_freed && (changes.removed & Bit(i)))) return i;
      return drives_.size();
    };
    size_t free = lowest_unused(true);
    if (free == drives_.size()) free = lowest_unused(false);
    if (free == drives_.size()) continue;  // every number taken
    drives_[free] = drive;
    changes.arrived |= Bit(free);
  }
  return changes;
}

DriveMask DriveTable::Present() const {
  DriveMask mask = 0;
  for (size_t i = 0; i < drives_.size(); ++i)
    if (drives_[i]) mask |= Bit(i);
  return mask;
}

const MountEntry* DriveTable::Drive(int64_t index) const {
  if (index < 0 || index >= static_cast<int64_t>(drives_.size()) || !drives_[static_cast<size_t>(index)])
    return nullptr;
  return &*drives_[static_cast<size_t>(index)];
}

int64_t DriveTable::DriveOf(std::u16string_view path) const {
  int64_t best = -1;
  size_t best_length = 0;
  for (size_t i = 0; i < drives_.size(); ++i) {
    if (!drives_[i]) continue;
    const std::u16string root = DriveRootPath(*drives_[i]);
    const std::u16string_view folder(root.data(), root.size() - 1);  // without its "/"
    const bool inside = path.starts_with(root) || path == folder;
    if (inside && (best < 0 || root.size() > best_length)) {
      best = static_cast<int64_t>(i);
      best_length = root.size();
    }
  }
  return best;
}

std::u16string DriveRootPath(const MountEntry& drive) {
  std::u16string root = drive.mount_point;
  if (root.empty() || root.back() != u'/') root += u'/';
  return root;
}
