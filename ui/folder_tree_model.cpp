#include "ui/folder_tree_model.h"

#include <algorithm>
#include <set>

#include "fs/path_separator.h"
#include "ui/natural_order.h"

namespace {

// Where a new child goes among the node's children: folders before files, each kind in
// a sorted tree at its place by name, else after the last child of its kind.
size_t PlaceFor(const FolderTreeNode& node, int64_t kind, const std::u16string& name, bool sorted) {
  const auto before_new = [&](const std::unique_ptr<FolderTreeNode>& child) {
    const int64_t child_kind = NodeKind(child->parameter);
    if (child_kind != kind) return child_kind < kind;
    return !sorted || NaturalCompare(child->text, name) <= 0;
  };
  const auto& children = node.children;
  return static_cast<size_t>(std::partition_point(children.begin(), children.end(), before_new) - children.begin());
}

FolderTreeNode* FolderChild(const FolderTree& tree, const FolderTreeNode& node, const std::u16string& name,
                            bool ignore_case) {
  for (const auto& child : node.children)
    if (NodeKind(child->parameter) == kNodeFolder && tree.view->SameName(child->text, name, ignore_case))
      return child.get();
  return nullptr;
}

// Fills the node and opens it; false when it could not be filled.
bool Open(FolderTree& tree, FolderTreeNode* node) {
  if (!FolderTreeFill(tree, node)) return false;
  tree.view->Open(node->item);
  return true;
}

// The filled nodes whose path is `path`.
void FindFilled(const FolderTree& tree, FolderTreeNode* node, const std::u16string& path,
                std::vector<FolderTreeNode*>& found) {
  if (!IsFilled(node->parameter)) return;
  if (node != tree.root.get() && FolderTreePath(tree, node) == path) found.push_back(node);
  for (const auto& child : node->children) FindFilled(tree, child.get(), path, found);
}

void CollectOpen(const FolderTree& tree, const FolderTreeNode& node, std::vector<std::u16string>& paths) {
  if (!IsFilled(node.parameter) || !tree.view->IsOpen(node.item)) return;
  if (&node != tree.root.get()) paths.push_back(FolderTreePath(tree, &node));
  for (const auto& child : node.children) CollectOpen(tree, *child, paths);
}

}  // namespace

void FolderTreeGoTo(FolderTree& tree, const std::u16string& target) {
  const int64_t drive = tree.view->DriveOf(target);
  if (!tree.root || drive < 0) return;
  const std::u16string root = tree.view->DriveRoot(drive);
  FolderTreeNode* node = nullptr;
  for (const auto& child : tree.root->children)
    if (NodeKind(child->parameter) == drive) {
      node = child.get();
      break;
    }
  if (!node) return;
  Open(tree, node);
  for (size_t start = std::min(root.size(), target.size()); start < target.size();) {
    size_t end = target.find(kFolderSeparator, start);
    if (end == std::u16string::npos) end = target.size();
    const std::u16string name = target.substr(start, end - start);
    start = end + 1;
    if (name.empty()) continue;
    FolderTreeNode* child = FolderChild(tree, *node, name, false);
    if (!child) child = FolderChild(tree, *node, name, true);
    if (!child) return;
    Open(tree, child);
    node = child;
  }
  tree.view->ScrollIntoView(node->item);
  if (FolderTreeSelected(tree) == node) return;
  FolderTreeSelectQuietly(tree, node);
  tree.view->ReportChange();
}

bool FolderTreeNodeRefresh(FolderTree& tree, FolderTreeNode* node) {
  if (node == tree.root.get() || !IsFilled(node->parameter)) return true;  // read when it is first opened
  const std::u16string path = FolderTreePath(tree, node);
  if (path.empty()) return true;
  const FolderReadRules rules = FolderReadRulesFor(tree.flags, tree.patterns, kFolderSeparator);
  const FolderContents contents = FolderRead(rules, path);
  if (!contents.readable) return false;

  std::set<std::u16string> folders(contents.folders.begin(), contents.folders.end());
  std::set<std::u16string> files(contents.files.begin(), contents.files.end());
  FolderTreeNode* selected = FolderTreeSelected(tree);
  bool selection_gone = false;
  std::vector<FolderTreeNode*> gone;
  for (const auto& child : node->children) {
    const bool is_folder = NodeKind(child->parameter) == kNodeFolder;
    // A name still there keeps its node; it is taken off the list of names to add.
    if ((is_folder ? folders : files).erase(child->text) == 1) {
      if (is_folder && !IsFilled(child->parameter))
        FolderTreeSetHasChildren(tree, child.get(), FolderShowsChildren(rules, path + child->text + rules.separator));
      continue;
    }
    selection_gone = selection_gone || FolderTreeWithin(selected, child.get());
    gone.push_back(child.get());
  }
  for (FolderTreeNode* child : gone) FolderTreeRemove(tree, child);
  const auto add = [&](int64_t kind, const std::vector<std::u16string>& names,
                       const std::set<std::u16string>& new_names) {
    for (const std::u16string& name : names) {
      if (!new_names.count(name)) continue;
      const bool children = kind == kNodeFolder && FolderShowsChildren(rules, path + name + rules.separator);
      std::vector<std::unique_ptr<FolderTreeNode>> made;
      made.push_back(FolderTreeNodeMade(kind, name, children));
      FolderTreeInsert(tree, node, PlaceFor(*node, kind, name, rules.sorted), path, std::move(made));
    }
  };
  add(kNodeFolder, contents.folders, folders);
  add(kNodeFile, contents.files, files);
  FolderTreeSetHasChildren(tree, node, !node->children.empty());

  // Taking the selected node away moves the view's selection on by itself; the
  // selection goes to this node, the nearest one still there, and that is reported once.
  // Any other selection stays where it was.
  FolderTreeNode* restore = selection_gone ? node : selected;
  if (restore && FolderTreeSelected(tree) != restore) FolderTreeSelectQuietly(tree, restore);
  if (selection_gone) tree.view->ReportChange();
  return true;
}

void FolderTreeRefreshPaths(FolderTree& tree, std::vector<std::u16string> paths) {
  if (!tree.root) return;
  // Parents first: reading a parent again may take a child's node away.
  std::sort(paths.begin(), paths.end(), [](const std::u16string& a, const std::u16string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
  });
  paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
  for (const std::u16string& path : paths) {
    // Found afresh each time: reading a node again may take other nodes away.
    for (size_t k = 0;; ++k) {
      std::vector<FolderTreeNode*> found;
      FindFilled(tree, tree.root.get(), path, found);
      if (k >= found.size()) break;
      // A folder gone: the nearest parent that can still be read.
      for (FolderTreeNode* at = found[k]; at && at != tree.root.get(); at = at->parent)
        if (FolderTreeNodeRefresh(tree, at)) break;
    }
  }
}

void FolderTreeRefreshAll(FolderTree& tree) {
  tree.view->DrivesRead();
  FolderTreeDrivesGone(tree, 0);
  FolderTreeDrivesArrived(tree, 0);
  std::vector<std::u16string> paths = FolderTreeOpenPaths(tree);
  if (const FolderTreeNode* selected = FolderTreeSelected(tree)) paths.push_back(FolderTreePath(tree, selected));
  FolderTreeRefreshPaths(tree, std::move(paths));
  FolderTreeFollowOpen(tree);
}

std::vector<std::u16string> FolderTreeOpenPaths(const FolderTree& tree) {
  std::vector<std::u16string> paths;
  if (tree.root) CollectOpen(tree, *tree.root, paths);
  return paths;
}

void FolderTreeFollowOpen(FolderTree& tree) {
  if (tree.follows) tree.view->Follow(FolderTreeOpenPaths(tree));
}
