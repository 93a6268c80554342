#pragma once
// The folder tree's own state and its nodes, shared by the files of the control.
#include <QPointer>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/control_register.h"
#include "ui/folder_read.h"
#include "ui/folder_tree_nodes.h"
#include "ui/qt/folder_tree/drive_table.h"

class QIcon;
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

// The selected node; null for none.
QTreeWidgetItem* FolderTreeSelected(const FolderTreeState& state);

int64_t NodeParameter(const QTreeWidgetItem* node);
void NodeParameterSet(QTreeWidgetItem* node, int64_t parameter);
// Appends a node under the parent; `children` promises children (an expand indicator).
QTreeWidgetItem* NodeAdd(QTreeWidgetItem* parent, const std::u16string& text, const QIcon& icon, bool children,
                         int64_t parameter);
// A node not yet in a tree, for adding many at once.
std::unique_ptr<QTreeWidgetItem> NodeMake(const std::u16string& text, const QIcon& icon, bool children,
                                          int64_t parameter);
std::u16string NodeText(const QTreeWidgetItem* node);

// The node's path: a drive its mount point with a final "/", a folder its full path
// with a final "/", a file its full path, the computer node the empty text.
std::u16string FolderTreePath(const FolderTreeState& state, const QTreeWidgetItem* node);

// Fills the node's children when it is opened for the first time: folders, then the
// files that match the patterns. A drive that cannot be read stays unfilled (with the
// notice when it is not ready); false then.
bool FolderTreeExpand(FolderTreeState& state, QTreeWidgetItem* node);

// How the tree reads folders: its flags and patterns.
FolderReadRules FolderTreeRules(const FolderTreeState& state);
// Nodes for a folder or a file named in the folder at `path`. A file node's icon comes
// from the icon cache, whose lock the caller holds.
std::unique_ptr<QTreeWidgetItem> FolderNodeMake(const FolderTreeState& state, const std::u16string& path,
                                                const std::u16string& name);
std::unique_ptr<QTreeWidgetItem> FileNodeMake(const FolderTreeState& state, const std::u16string& path,
                                              const std::u16string& name);

// Watches the open folders, and only those, for changes on disk.
void FolderTreeWatchOpen(FolderTreeState& state);

// Drive nodes under the computer node: a new one at the end, or one made new again
// (label, icon, unfilled, no children).
void DriveNodeAdd(FolderTreeState& state, int64_t drive);
void DriveNodeRefresh(FolderTreeState& state, QTreeWidgetItem* node, int64_t drive);
// Applies a change of the drives to every folder tree.
void FolderTreesDrivesChanged(const DriveChanges& changes);

// The drive-not-ready notice: opened for a drive (the tree disabled meanwhile), closed
// by its button, by the drive's arrival or by a navigation.
void NoticeOpen(FolderTreeState& state, int64_t drive);
void NoticeClose(FolderTreeState& state);
