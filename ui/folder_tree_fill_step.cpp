#include "fs/mount_point_probe.h"
#include "ui/folder_tree.h"
#include "ui/folder_tree_nodes.h"

FillStep FolderTreeFillStep(int64_t parameter, const std::u16string& path, uint32_t flags) {
  if (IsFilled(parameter)) return FillStep::kFilled;
  if (path.empty()) return FillStep::kRefused;
  if (!IsDriveKind(NodeKind(parameter))) return FillStep::kRead;
  switch (MountPointProbe(path)) {
    case MountPointState::kReady:
      return FillStep::kRead;
    case MountPointState::kNotReady:
      return flags & kFolderTreeNoNotice ? FillStep::kRefused : FillStep::kNotReady;
    default:
      return FillStep::kRefused;
  }
}
