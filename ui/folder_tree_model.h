#pragma once
// What a folder tree does with its nodes, the same on every window system: the way down
// to a folder, and reading folders again after a change on disk. The window system's
// tree stands behind FolderTreeNodes; these functions decide, it only carries out.
#include <cstdint>
#include <string>
#include <vector>

#include "ui/folder_read.h"

// A node of the window system's tree, as its FolderTreeNodes hands it out; null for none.
using TreeNode = const void*;

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
  // The node's path: a drive its root, a folder its full path, both with the final
  // separator; a file its full path; the computer node the empty text.
  virtual std::u16string Path(TreeNode node) const = 0;
  // How the tree reads folders.
  virtual FolderReadRules Rules() const = 0;
  // Whether two names of one folder name the same entry, with or without regard to case
  // as the system compares names.
  virtual bool SameName(const std::u16string& a, const std::u16string& b, bool ignore_case) const = 0;

  // Inserts the node of a folder (kNodeFolder, with an expand button when `children`) or
  // of a file (kNodeFile) named `name` in the folder at `path`, under `parent` at `index`.
  virtual void Insert(TreeNode parent, size_t index, int64_t kind, const std::u16string& path,
                      const std::u16string& name, bool children) = 0;
  // Takes the node and all below it away; selection changes this makes are not reported.
  virtual void Remove(TreeNode node) = 0;
  virtual void SetHasChildren(TreeNode node, bool children) = 0;
  // Fills the node's children when it is opened for the first time; false when it could
  // not be filled (see FolderTreeFillStep).
  virtual bool Fill(TreeNode node) = 0;
  virtual void Open(TreeNode node) = 0;
  virtual void SelectQuietly(TreeNode node) = 0;
  virtual void ScrollIntoView(TreeNode node) = 0;
  // Posts the change of the selection to the program.
  virtual void ReportChange() = 0;
};

// Opens the nodes from the drive node of `drive` (whose root is `root`) down to the
// folder `target`, names matched exactly, else without regard to case, and selects it
// (a change of the selection is reported); stops, selecting nothing, where the way ends.
void FolderTreeGoTo(FolderTreeNodes& nodes, int64_t drive, const std::u16string& root, const std::u16string& target);

// Reads a filled node's folder again: nodes of entries gone are taken away (a selection
// inside them moves to this node, reported as a change), new entries get nodes in their
// place (folders before files, by name in a sorted tree, else after the others of their
// kind), and the nodes that stay keep their children, their state and the selection.
// False when the folder cannot be listed (it is gone, say); nothing changes then.
bool FolderTreeNodeRefresh(FolderTreeNodes& nodes, TreeNode node);
// Reads again every filled node whose path is one of these (a node whose folder is gone:
// the nearest parent that can still be read), parents first.
void FolderTreeRefreshPaths(FolderTreeNodes& nodes, std::vector<std::u16string> paths);
// The paths of the open filled nodes, from the top down.
std::vector<std::u16string> FolderTreeOpenPaths(const FolderTreeNodes& nodes);
