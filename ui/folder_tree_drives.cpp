#include "ui/folder_tree_model.h"

namespace {

constexpr DriveMask Bit(int64_t drive) { return DriveMask{1} << drive; }

// The drive nodes under the computer node, as they stand before any is changed.
std::vector<FolderTreeNode*> DriveNodes(const FolderTree& tree) {
  std::vector<FolderTreeNode*> drives;
  for (const auto& child : tree.root->children)
    if (IsDriveKind(NodeKind(child->parameter))) drives.push_back(child.get());
  return drives;
}

// Closes the drive's node and makes it forget what it showed.
void Renew(FolderTree& tree, FolderTreeNode* node, int64_t drive) {
  FolderTreeTakeSelection(tree, node);
  FolderTreeRenew(tree, node, drive, tree.view->DriveLabel(drive));
}

void Add(FolderTree& tree, int64_t drive) {
  if (tree.view->DriveRoot(drive).empty()) return;
  std::vector<std::unique_ptr<FolderTreeNode>> made;
  made.push_back(FolderTreeNodeMade(drive, tree.view->DriveLabel(drive), true));
  const auto& children = tree.root->children;
  size_t at = 0;
  while (at < children.size() && !tree.view->DriveBefore(drive, made.front()->text, *children[at])) ++at;
  FolderTreeInsert(tree, tree.root.get(), at, u"", std::move(made));
}

}  // namespace

void FolderTreeDrivesGone(FolderTree& tree, DriveMask renew) {
  if (!tree.root) return;
  const DriveMask present = tree.view->Drives();
  for (FolderTreeNode* node : DriveNodes(tree)) {
    const int64_t drive = NodeKind(node->parameter);
    if (present & Bit(drive)) {
      if (renew & Bit(drive)) Renew(tree, node, drive);
      continue;
    }
    if (FolderTreeWithin(FolderTreeSelected(tree), node)) {
      FolderTreeSelectQuietly(tree, tree.root.get());
      tree.view->ReportChange();
    }
    FolderTreeRemove(tree, node);
  }
}

void FolderTreeDrivesArrived(FolderTree& tree, DriveMask renew) {
  if (!tree.root) return;
  if (tree.notice_drive >= 0 && (renew & Bit(tree.notice_drive))) FolderTreeNoticeClose(tree);
  DriveMask missing = tree.view->Drives();
  for (FolderTreeNode* node : DriveNodes(tree)) {
    const int64_t drive = NodeKind(node->parameter);
    if (renew & Bit(drive)) Renew(tree, node, drive);
    missing &= ~Bit(drive);
  }
  for (int64_t drive = 0; drive < kTreeDrives; ++drive)
    if (missing & Bit(drive)) Add(tree, drive);
}

void FolderTreesDrivesChanged(DriveMask gone, DriveMask arrived) {
  ControlForEach([&](ControlRecord& record) {
    FolderTree* tree = FolderTreeOf(record);
    if (!tree || !tree->root) return;
    if (gone) FolderTreeDrivesGone(*tree, gone);
    if (arrived) FolderTreeDrivesArrived(*tree, arrived);
    FolderTreeFollowOpen(*tree);
  });
}

void FolderTreeNoticeOpen(FolderTree& tree, int64_t drive) {
  FolderTreeNoticeClose(tree);
  std::u16string name = tree.view->DriveRoot(drive);
  if (name.empty()) return;
  if (name.size() > 1) name.pop_back();
  const std::u16string text =
      u"The drive " + name + u" cannot be read.\n\nInsert its medium or connect its device, then open the drive again.";
  tree.notice_drive = drive;
  if (!tree.view->NoticeShow(drive, tree.view->DriveLabel(drive), text)) tree.notice_drive = -1;
}

void FolderTreeNoticeClose(FolderTree& tree) {
  if (tree.notice_drive < 0) return;
  tree.notice_drive = -1;
  tree.view->NoticeHide();
}
