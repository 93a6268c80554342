#pragma once
// The folder tree's own state and its nodes, shared by the files of the control.
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>

#include "ui/control_register.h"
#include "ui/folder_read.h"
#include "ui/folder_tree_nodes.h"

struct FolderTreeState : ControlTypeState {
  HWND tree = nullptr;
  uint32_t flags = 0;
  std::u16string patterns = u"*.*";
  HTREEITEM root = nullptr;  // the computer node
  HWND notice = nullptr;     // the open drive-not-ready notice
  int64_t notice_drive = -1;
  // Nodes are being taken away: the selection changes this makes are not reported.
  bool quiet = false;
};

// The state of a folder tree's record; null for a record of another type.
FolderTreeState* FolderTreeStateOf(ControlRecord& record);
// The state of a tree view while it stands as a control; null once it is going.
FolderTreeState* FolderTreeStateOf(HWND tree);

// How the tree reads folders: its flags and patterns.
FolderReadRules FolderTreeRules(const FolderTreeState& state);

// Nodes, through the tree view's messages.
HTREEITEM NodeChild(HWND tree, HTREEITEM node);  // the first child; null for none
HTREEITEM NodeNext(HWND tree, HTREEITEM node);   // the next sibling
HTREEITEM NodeParent(HWND tree, HTREEITEM node);
int64_t NodeParameter(HWND tree, HTREEITEM node);
void NodeParameterSet(HWND tree, HTREEITEM node, int64_t parameter);
std::u16string NodeText(HWND tree, HTREEITEM node);
// Inserts a node under the parent after `after` (TVI_LAST, TVI_SORT, a node); `children`
// promises children (an expand button) before the node is filled.
HTREEITEM NodeAdd(HWND tree, HTREEITEM parent, HTREEITEM after, const std::u16string& text, int image, bool children,
                  int64_t parameter);
// Deletes the node and everything under it; the selection changes this makes are not
// reported.
void NodeDelete(FolderTreeState& state, HTREEITEM node);
// Deletes the node's children and makes it unfilled again, closed with an expand button.
void NodeEmpty(FolderTreeState& state, HTREEITEM node, int64_t parameter);
bool NodeIsOpen(HWND tree, HTREEITEM node);
// Whether the node is `outer` or lies inside it.
bool NodeWithin(HWND tree, HTREEITEM node, HTREEITEM outer);
// Sets whether the node shows an expand button.
void NodeChildrenSet(HWND tree, HTREEITEM node, bool children);
// Selects the node (null: none) without reporting it.
void NodeSelectQuietly(FolderTreeState& state, HTREEITEM node);

// The selected node; null for none.
HTREEITEM FolderTreeSelected(const FolderTreeState& state);
// The node's path: a drive "C:\", a folder its full path with a final "\", a file its
// full path, the documents node its folder's path, the computer node the empty text.
std::u16string FolderTreePath(const FolderTreeState& state, HTREEITEM node);

// Fills the node's children when it is opened for the first time: folders, then the
// files that match the patterns. A drive that cannot be read stays unfilled (with the
// notice when it is not ready); false then.
bool FolderTreeExpand(FolderTreeState& state, HTREEITEM node);
// Inserts the node of a folder or a file named in the folder at `path` under `node`
// after `after`.
HTREEITEM FolderNodeAdd(const FolderTreeState& state, HTREEITEM node, HTREEITEM after, const std::u16string& path,
                        const std::u16string& name);
HTREEITEM FileNodeAdd(const FolderTreeState& state, HTREEITEM node, HTREEITEM after, const std::u16string& path,
                      const std::u16string& name);

// Drive nodes under the computer node: a new one at the end, or one made new again
// (label, icon, closed and unfilled).
void DriveNodeAdd(FolderTreeState& state, int64_t drive);
void DriveNodeRefresh(FolderTreeState& state, HTREEITEM node, int64_t drive);
// Takes the top-level window of `window` as the one that hears of drive changes for
// every folder tree, when no window does yet.
void FolderTreesWatchDrives(HWND window);
// Applies the drives present now to the tree after volumes (bit 0 = A) were removed:
// nodes of drives gone are deleted (a selection inside moves to the computer node),
// nodes of the volumes close and forget what they showed.
void DrivesRemoved(FolderTreeState& state, uint32_t units);
// After volumes arrived: a notice waiting for one closes, their nodes are made new, and
// drives present without a node get one at the end.
void DrivesArrived(FolderTreeState& state, uint32_t units);

// The drive-not-ready notice: opened for a drive (the tree disabled meanwhile), closed
// by its button, by the drive's arrival or by a navigation.
void NoticeOpen(FolderTreeState& state, int64_t drive);
void NoticeClose(FolderTreeState& state);
