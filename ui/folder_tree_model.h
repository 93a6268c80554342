#pragma once
// What a folder tree does with its nodes, the same on every window system: which nodes
// there are and in what order, filling them as they open, the way down to a folder,
// drives coming and going, reading folders again after a change on disk, and what the
// tree reports. The tree holds its nodes itself; the window system's tree stands behind
// FolderTreeView, which tells what the system has, shows the nodes it is given and hands
// the tree what the user does to them.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "ui/control_register.h"
#include "ui/folder_read.h"
#include "ui/folder_tree_nodes.h"

// A node, with the view's widget item that shows it.
struct FolderTreeNode {
  int64_t parameter = 0;  // see folder_tree_nodes.h
  std::u16string text;
  bool has_children = false;  // shows an expand button
  bool closed = false;        // filled, then closed: its folder went unfollowed meanwhile
  FolderTreeNode* parent = nullptr;
  std::vector<std::unique_ptr<FolderTreeNode>> children;
  const void* item = nullptr;
};

class FolderTreeView {
 public:
  virtual ~FolderTreeView() = default;

  // What the system has: the drives present; a drive's root path, ending in the
  // separator (empty for a drive not present); the drive a path lies on (-1 for none);
  // the text of a drive's node; the computer and the documents.
  virtual DriveMask Drives() const = 0;
  virtual std::u16string DriveRoot(int64_t drive) const = 0;
  virtual int64_t DriveOf(const std::u16string& path) const = 0;
  virtual std::u16string DriveLabel(int64_t drive) const = 0;
  virtual const FolderTreePlaces& Places() const = 0;
  // Whether a new drive node with the text `label` goes before `other`, a child of the
  // computer node; where it goes before none, it goes last.
  virtual bool DriveBefore(int64_t drive, const std::u16string& label, const FolderTreeNode& other) const = 0;
  // Whether two names of one folder name the same entry, with or without regard to case
  // as the system compares names.
  virtual bool SameName(const std::u16string& a, const std::u16string& b, bool ignore_case) const = 0;
  // Reads the drives again where the system does not tell of every change by itself.
  virtual void DrivesRead() = 0;

  // The widget's selected item (null for none), and whether an item is open.
  virtual const void* SelectedItem() const = 0;
  virtual bool IsOpen(const void* item) const = 0;

  // Takes every item away.
  virtual void Clear() = 0;
  // Makes the items of the nodes, in this order, under `parent`'s from `index` on;
  // under null, the computer node's. A file node's icon is that of the file in the
  // folder at `path`, the others' that of their kind. Returns the items in order.
  virtual std::vector<const void*> Insert(const void* parent, size_t index, const std::u16string& path,
                                          std::span<const FolderTreeNode* const> nodes) = 0;
  // Takes the item and all below it away.
  virtual void Remove(const void* item) = 0;
  // Closes the item, takes its children away and shows the node as it is now: its text,
  // the icon of its kind, an expand button.
  virtual void Renew(const void* item, const FolderTreeNode& node) = 0;
  virtual void SetHasChildren(const void* item, bool children) = 0;
  virtual void Open(const void* item) = 0;
  virtual void ScrollIntoView(const void* item) = 0;
  // Selects the item; the change this makes reaches the tree as any other does.
  virtual void Select(const void* item) = 0;
  // Posts a change of the selection to the program.
  virtual void ReportChange() = 0;
  // Watches exactly these folders for changes on disk, where the system reports them.
  virtual void Follow(const std::vector<std::u16string>& paths) = 0;
  // The drive-not-ready notice: shown for a drive with its title and text (false when
  // it cannot be), hidden.
  virtual bool NoticeShow(int64_t drive, const std::u16string& title, const std::u16string& text) = 0;
  virtual void NoticeHide() = 0;
};

// A folder tree: its creation flags, its patterns, its nodes and its view.
struct FolderTree : ControlTypeState {
  FolderTree(std::unique_ptr<FolderTreeView> shown, uint32_t tree_flags, bool follows_disk)
      : view(std::move(shown)), flags(tree_flags), follows(follows_disk) {}

  std::unique_ptr<FolderTreeView> view;
  uint32_t flags = 0;
  bool follows = false;  // the system reports changes on disk: open folders are followed
  std::u16string patterns = u"*.*";
  std::unique_ptr<FolderTreeNode> root;  // the computer node; null before the tree is built
  std::unordered_map<const void*, FolderTreeNode*> by_item;
  int64_t notice_drive = -1;  // the drive the open notice waits for; -1 for none
  // The tree is changing its items: the selection changes this makes are not reported.
  bool quiet = false;
};

// The tree of a control record, or of a native control; null for anything else.
FolderTree* FolderTreeOf(ControlRecord& record);
FolderTree* FolderTreeOf(NativeHandle control);
// The tree's operations, for its window system's tree to add its own to.
ControlOps FolderTreeOps();
// Builds the new tree and goes to the initial path.
void FolderTreeStart(FolderTree& tree, const std::u16string& initial_path);

// What the user did to the widget's items, as its window system tells it. An item
// opening is filled (read again first when it was closed while followed); false when it
// cannot be, and the item stays closed. An item closing around the selection takes it.
bool FolderTreeOpening(FolderTree& tree, const void* item);
void FolderTreeClosing(FolderTree& tree, const void* item);
void FolderTreeSelectionChanged(FolderTree& tree);
// Folders followed on disk changed.
void FolderTreeChanged(FolderTree& tree, std::vector<std::u16string> paths);
// The notice was closed by the user or its window.
void FolderTreeNoticeGone(FolderTree& tree);
// Applies drives gone (or changed volume) and drives arrived to every folder tree (see
// FolderTreeDrivesGone and FolderTreeDrivesArrived); nothing for an empty mask.
void FolderTreesDrivesChanged(DriveMask gone, DriveMask arrived);

// Whether the node is `outer` or lies inside it.
bool FolderTreeWithin(const FolderTreeNode* node, const FolderTreeNode* outer);
// The node of a widget item; null for none.
FolderTreeNode* FolderTreeNodeOf(const FolderTree& tree, const void* item);
FolderTreeNode* FolderTreeSelected(const FolderTree& tree);
// The node's path: a drive its root, a folder its full path, both with the final
// separator; a file its full path; the documents node its folder; the computer node
// the empty text, as is a node on a drive no longer present.
std::u16string FolderTreePath(const FolderTree& tree, const FolderTreeNode* node);
// What the tree reports: the selected node's path (empty for none), and 1 for a file
// selected, 2 for any other node, 0 for none.
std::u16string FolderTreeSelectedPath(const FolderTree& tree);
int64_t FolderTreeSelectedState(const FolderTree& tree);

// The tree's own changes of its nodes, carried out on the view as well; none of them is
// reported as a change of the selection.
std::unique_ptr<FolderTreeNode> FolderTreeNodeMade(int64_t parameter, std::u16string text, bool children);
void FolderTreeClear(FolderTree& tree);
void FolderTreeInsert(FolderTree& tree, FolderTreeNode* parent, size_t index, const std::u16string& path,
                      std::vector<std::unique_ptr<FolderTreeNode>> nodes);
void FolderTreeRemove(FolderTree& tree, FolderTreeNode* node);
// Closes the node, takes its children away and makes it as new: this parameter and
// text, an expand button.
void FolderTreeRenew(FolderTree& tree, FolderTreeNode* node, int64_t parameter, const std::u16string& text);
void FolderTreeSetHasChildren(FolderTree& tree, FolderTreeNode* node, bool children);
void FolderTreeSelectQuietly(FolderTree& tree, FolderTreeNode* node);
// A node closing around the selection takes it, reported as a change, so that the
// folder the tree reports is always one the user can see.
void FolderTreeTakeSelection(FolderTree& tree, FolderTreeNode* node);

// Builds the tree anew: the computer node, open, with the drives present and the
// documents node (unless the flags leave it out).
void FolderTreeRebuild(FolderTree& tree);
// Carries out a text given to the tree (see FolderTreeRequestOf); a navigation closes
// an open notice first.
void FolderTreeTextSet(FolderTree& tree, const std::u16string& text);
// Fills the node's children when it is opened for the first time: folders, then the
// files that match the patterns; a folder with nothing to show loses its expand
// button. A drive that cannot be read stays unfilled, with the notice when it is not
// ready. False when the node is not filled.
bool FolderTreeFill(FolderTree& tree, FolderTreeNode* node);
// Opens the nodes from the drive down to the folder `target` (ending in the separator),
// names matched exactly, else without regard to case, and selects it (a change of the
// selection is reported); stops, selecting nothing, where the way ends.
void FolderTreeGoTo(FolderTree& tree, const std::u16string& target);

// After drives went (or changed volume): nodes of drives no longer present are taken
// away, a selection inside them moving to the computer node, reported; the nodes of the
// drives in `renew` are made new (see FolderTreeRenew).
void FolderTreeDrivesGone(FolderTree& tree, DriveMask renew);
// After drives arrived: a notice waiting for one in `renew` closes, their nodes are
// made new, and drives present without a node get one in their place.
void FolderTreeDrivesArrived(FolderTree& tree, DriveMask renew);
// The drive-not-ready notice, opened for a drive and closed. Its title is the drive's
// label; its text names the drive by its root without the final separator ("C:",
// "/media/disc").
void FolderTreeNoticeOpen(FolderTree& tree, int64_t drive);
void FolderTreeNoticeClose(FolderTree& tree);

// Reads a filled node's folder again: nodes of entries gone are taken away (a selection
// inside them moves to this node, reported as a change), new entries get nodes in their
// place (folders before files, by name in a sorted tree, else after the others of their
// kind), and the nodes that stay keep their children, their state and the selection.
// False when the folder cannot be listed (it is gone, say); nothing changes then.
bool FolderTreeNodeRefresh(FolderTree& tree, FolderTreeNode* node);
// Reads again every filled node whose path is one of these (a node whose folder is gone:
// the nearest parent that can still be read), parents first.
void FolderTreeRefreshPaths(FolderTree& tree, std::vector<std::u16string> paths);
// Reads the drives again, then the open folders and the selected node's folder.
void FolderTreeRefreshAll(FolderTree& tree);
// The paths of the open filled nodes, from the top down.
std::vector<std::u16string> FolderTreeOpenPaths(const FolderTree& tree);
// Has the view follow the open folders, where the system reports changes on disk.
void FolderTreeFollowOpen(FolderTree& tree);
