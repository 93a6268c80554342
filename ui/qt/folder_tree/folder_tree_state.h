#pragma once
// The folder tree's own state and its nodes, shared by the files of the control.
#include <QPointer>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/control_register.h"
#include "ui/drive_table.h"
#include "ui/folder_tree_nodes.h"

class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
struct FolderTreeShared;
class FolderTreeWatch;

struct FolderTreeState : ControlTypeState {
  QTreeWidget* tree = nullptr;  // owned by its window
  int64_t number = 0;
  uint32_t flags = 0;
  std::u16string patterns = u"*.*";
  QTreeWidgetItem* root = nullptr;  // the computer node
  QPointer<QWidget> notice;         // the open drive-not-ready notice
  int64_t notice_drive = -1;
  std::shared_ptr<FolderTreeShared> shared;
  // Nodes are being taken away: the selection changes this makes are not reported.
  bool quiet = false;
  std::unique_ptr<FolderTreeWatch> watch;  // the opened folders, for changes on disk
};

// The state of a folder tree's record; null for a record of another type.
FolderTreeState* FolderTreeStateOf(ControlRecord& record);
// The state of a tree widget while it stands as a control; null once it is going.
FolderTreeState* FolderTreeStateOf(QWidget* tree);

// Watches the open folders, and only those, for changes on disk.
void FolderTreeWatchOpen(FolderTreeState& state);

// Applies a change of the drives to every folder tree.
void FolderTreesDrivesChanged(const DriveChanges& changes);

// The drive-not-ready notice: opened for a drive (the tree disabled meanwhile), closed
// by its button, by the drive's arrival or by a navigation.
void NoticeOpen(FolderTreeState& state, int64_t drive);
void NoticeClose(FolderTreeState& state);
