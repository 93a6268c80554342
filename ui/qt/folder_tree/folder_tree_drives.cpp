#include <QTreeWidgetItem>
#include <memory>

#include "ui/qt/folder_tree/folder_tree_shared.h"
#include "ui/qt/folder_tree/folder_tree_state.h"

namespace {

constexpr DriveMask Bit(int64_t drive) { return DriveMask{1} << drive; }

// Drives gone lose their nodes; drives still there with another volume close and
// forget what they showed.
void ApplyRemoval(FolderTreeState& state, DriveMask changed, DriveMask present) {
  for (int i = state.root->childCount() - 1; i >= 0; --i) {
    QTreeWidgetItem* node = state.root->child(i);
    const int64_t drive = NodeKind(NodeParameter(node));
    if (!IsDriveKind(drive)) continue;
    if (!(present & Bit(drive)))
      std::unique_ptr<QTreeWidgetItem>(state.root->takeChild(i));
    else if (changed & Bit(drive))
      DriveNodeRefresh(state, node, drive);
  }
}

// Arrived drives close a notice waiting for them, refresh their nodes, or get new
// ones at the end.
void ApplyArrival(FolderTreeState& state, DriveMask arrived, DriveMask present) {
  if (state.notice && state.notice_drive >= 0 && (arrived & Bit(state.notice_drive))) NoticeClose(state);
  DriveMask missing = present;
  for (int i = 0; i < state.root->childCount(); ++i) {
    QTreeWidgetItem* node = state.root->child(i);
    const int64_t drive = NodeKind(NodeParameter(node));
    if (!IsDriveKind(drive)) continue;
    if (arrived & Bit(drive)) DriveNodeRefresh(state, node, drive);
    missing &= ~Bit(drive);
  }
  for (int64_t drive = 0; drive < static_cast<int64_t>(kMaxDrives); ++drive)
    if (missing & Bit(drive)) DriveNodeAdd(state, drive);
}

}  // namespace

void FolderTreesDrivesChanged(const DriveChanges& changes) {
  ControlForEach([&](ControlRecord& record) {
    FolderTreeState* state = FolderTreeStateOf(record);
    if (!state || !state->root) return;
    const DriveMask present = state->shared->drives.Drives().Present();
    ApplyRemoval(*state, changes.removed | changes.changed, present);
    ApplyArrival(*state, changes.arrived | changes.changed, present);
    FolderTreeWatchOpen(*state);
  });
}
