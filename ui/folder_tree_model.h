#pragma once
// What a folder tree does with its nodes, the same on every window system: which nodes
// there are and in what order, filling them as they open, the way down to a folder,
// drives coming and going, reading folders again after a change on disk, and what the
// tree reports. The window system's tree stands behind FolderTreeNodes: it tells what
// the system has and carries out; these functions decide.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "ui/folder_read.h"
#include "ui/folder_tree_nodes.h"

// A node of the window system's tree, as its FolderTreeNodes hands it out; null for none.
using TreeNode = const void*;

// A node to insert: its parameter (see folder_tree_nodes.h), its text, and whether it
// shows an expand button before it is filled.
struct NewTreeNode {
  int64_t parameter = 0;
  std::u16string text;
  bool children = false;
};

class FolderTreeNodes {
 public:
  virtual ~FolderTreeNodes() = default;

  virtual TreeNode Root() const = 0;  // the computer node; null before the tree is built
  virtual std::vector<TreeNode> Children(TreeNode node) const = 0;
  virtual TreeNode Parent(TreeNode node) const = 0;
  virtual int64_t Parameter(TreeNode node) const = 0;
  virtual std::u16string Text(TreeNode node) const = 0;
  virtual bool IsOpen(TreeNode node) const = 0;
  virtual TreeNode Selected() const = 0;
  // The tree's creation flags, and how it reads folders (its flags and patterns).
  virtual uint32_t Flags() const = 0;
  virtual FolderReadRules Rules() const = 0;
  // Whether two names of one folder name the same entry, with or without regard to case
  // as the system compares names.
  virtual bool SameName(const std::u16string& a, const std::u16string& b, bool ignore_case) const = 0;

  // What the system has: the drives present; a drive's root path, ending in the
  // separator (empty for a drive not present); the drive a path lies on (-1 for none);
  // the documents folder, ending in the separator (empty when it is not shown); and
  // the text of the computer node, the documents node or a drive's node.
  virtual DriveMask Drives() const = 0;
  virtual std::u16string DriveRoot(int64_t drive) const = 0;
  virtual int64_t DriveOf(const std::u16string& path) const = 0;
  virtual std::u16string DocumentsPath() const = 0;
  virtual std::u16string Label(int64_t kind) const = 0;
  // Whether a new drive node with the text `label` goes before `other`, a child of the
  // computer node; where it goes before none, it goes last.
  virtual bool DriveBefore(int64_t drive, const std::u16string& label, TreeNode other) const = 0;

  // Takes every node away; Root() is null then.
  virtual void Clear() = 0;
  // Inserts the nodes, in this order, under `parent` from `index` on; under null, the
  // computer node, which becomes Root(). A file node's icon is that of the file in the
  // folder at `path`, the others' that of their kind.
  virtual void Insert(TreeNode parent, size_t index, const std::u16string& path,
                      std::span<const NewTreeNode> nodes) = 0;
  // Takes the node and all below it away.
  virtual void Remove(TreeNode node) = 0;
  // Closes the node, takes its children away and makes it as new: this parameter and
  // text, the icon of its kind, an expand button.
  virtual void Renew(TreeNode node, int64_t parameter, const std::u16string& text) = 0;
  virtual void SetParameter(TreeNode node, int64_t parameter) = 0;
  virtual void SetHasChildren(TreeNode node, bool children) = 0;
  virtual void Open(TreeNode node) = 0;
  virtual void ScrollIntoView(TreeNode node) = 0;
  // None of the changes above is reported as a change of the selection, nor this one;
  // ReportChange posts one to the program.
  virtual void SelectQuietly(TreeNode node) = 0;
  virtual void ReportChange() = 0;
  virtual void SetPatterns(const std::u16string& patterns) = 0;
  // The drive-not-ready notice: opened for a drive, closed; the drive an open notice
  // waits for, -1 for none.
  virtual void NoticeOpen(int64_t drive) = 0;
  virtual void NoticeClose() = 0;
  virtual int64_t NoticeDrive() const = 0;
};

// Whether the node is `outer` or lies inside it.
bool FolderTreeWithin(const FolderTreeNodes& nodes, TreeNode node, TreeNode outer);
// A node closing around the selection takes it, reported as a change, so that the
// folder the tree reports is always one the user can see.
void FolderTreeClosing(FolderTreeNodes& nodes, TreeNode node);
// The node's path: a drive its root, a folder its full path, both with the final
// separator; a file its full path; the documents node its folder; the computer node
// the empty text, as is a node on a drive no longer present.
std::u16string FolderTreePath(const FolderTreeNodes& nodes, TreeNode node);
// What the tree reports: the selected node's path (empty for none), and 1 for a file
// selected, 2 for any other node, 0 for none.
std::u16string FolderTreeSelectedPath(const FolderTreeNodes& nodes);
int64_t FolderTreeSelectedState(const FolderTreeNodes& nodes);

// Builds the tree anew: the computer node, open, with the drives present and the
// documents node (unless the flags leave it out).
void FolderTreeRebuild(FolderTreeNodes& nodes);
// Carries out a text given to the tree (see FolderTreeRequestOf); a navigation closes
// an open notice first.
void FolderTreeTextSet(FolderTreeNodes& nodes, const std::u16string& text);
// Fills the node's children when it is opened for the first time: folders, then the
// files that match the patterns; a folder with nothing to show loses its expand
// button. A drive that cannot be read stays unfilled, with the notice when it is not
// ready. False when the node is not filled.
bool FolderTreeFill(FolderTreeNodes& nodes, TreeNode node);
// Opens the nodes from the drive down to the folder `target` (ending in the separator),
// names matched exactly, else without regard to case, and selects it (a change of the
// selection is reported); stops, selecting nothing, where the way ends.
void FolderTreeGoTo(FolderTreeNodes& nodes, const std::u16string& target);

// After drives went (or changed volume): nodes of drives no longer present are taken
// away, a selection inside them moving to the computer node, reported; the nodes of the
// drives in `renew` are made new (see FolderTreeDriveRenew).
void FolderTreeDrivesGone(FolderTreeNodes& nodes, DriveMask renew);
// After drives arrived: a notice waiting for one in `renew` closes, their nodes are
// made new, and drives present without a node get one in their place.
void FolderTreeDrivesArrived(FolderTreeNodes& nodes, DriveMask renew);

// The text of the notice of a drive not ready, the drive named as the system names it
// ("C:", "/media/disc").
std::u16string FolderTreeNoticeText(const std::u16string& drive);

// Reads a filled node's folder again: nodes of entries gone are taken away (a selection
// inside them moves to this node, reported as a change), new entries get nodes in their
// place (folders before files, by name in a sorted tree, else after the others of their
// kind), and the nodes that stay keep their children, their state and the selection.
// False when the folder cannot be listed (it is gone, say); nothing changes then.
bool FolderTreeNodeRefresh(FolderTreeNodes& nodes, TreeNode node);
// Reads again every filled node whose path is one of these (a node whose folder is gone:
// the nearest parent that can still be read), parents first.
void FolderTreeRefreshPaths(FolderTreeNodes& nodes, std::vector<std::u16string> paths);
// Reads again the open folders and the selected node's folder.
void FolderTreeRefreshOpen(FolderTreeNodes& nodes);
// The paths of the open filled nodes, from the top down.
std::vector<std::u16string> FolderTreeOpenPaths(const FolderTreeNodes& nodes);
