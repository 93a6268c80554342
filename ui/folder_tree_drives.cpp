#include "ui/folder_tree_model.h"

namespace {

constexpr DriveMask Bit(int64_t drive) { return DriveMask{1} << drive; }

// Closes the drive's node and makes it forget what it showed.
void Renew(FolderTreeNodes& nodes, TreeNode node, int64_t drive) {
  FolderTreeClosing(nodes, node);
  nodes.Renew(node, drive, nodes.Label(drive));
}

void Add(FolderTreeNodes& nodes, int64_t drive) {
  if (nodes.DriveRoot(drive).empty()) return;
  const NewTreeNode made{drive, nodes.Label(drive), true};
  const std::vector<TreeNode> children = nodes.Children(nodes.Root());
  size_t at = 0;
  while (at < children.size() && !nodes.DriveBefore(drive, made.text, children[at])) ++at;
  nodes.Insert(nodes.Root(), at, u"", {&made, 1});
}

}  // namespace

void FolderTreeDrivesGone(FolderTreeNodes& nodes, DriveMask renew) {
  if (!nodes.Root()) return;
  const DriveMask present = nodes.Drives();
  for (TreeNode node : nodes.Children(nodes.Root())) {
    const int64_t drive = NodeKind(nodes.Parameter(node));
    if (!IsDriveKind(drive)) continue;
    if (present & Bit(drive)) {
      if (renew & Bit(drive)) Renew(nodes, node, drive);
      continue;
    }
    if (FolderTreeWithin(nodes, nodes.Selected(), node)) {
      nodes.SelectQuietly(nodes.Root());
      nodes.ReportChange();
    }
    nodes.Remove(node);
  }
}

void FolderTreeDrivesArrived(FolderTreeNodes& nodes, DriveMask renew) {
  if (!nodes.Root()) return;
  const int64_t waiting = nodes.NoticeDrive();
  if (waiting >= 0 && (renew & Bit(waiting))) nodes.NoticeClose();
  DriveMask missing = nodes.Drives();
  for (TreeNode node : nodes.Children(nodes.Root())) {
    const int64_t drive = NodeKind(nodes.Parameter(node));
    if (!IsDriveKind(drive)) continue;
    if (renew & Bit(drive)) Renew(nodes, node, drive);
    missing &= ~Bit(drive);
  }
  for (int64_t drive = 0; drive < kTreeDrives; ++drive)
    if (missing & Bit(drive)) Add(nodes, drive);
}

std::u16string FolderTreeNoticeText(const std::u16string& drive) {
  return u"The drive " + drive +
         u" cannot be read.\n\nInsert its medium or connect its device, then open the drive again.";
}
