#include <algorithm>
#include <mutex>
#include <set>
#include <vector>

#include "ui/events.h"
#include "ui/folder_tree.h"
#include "ui/natural_order.h"
#include "ui/win32/folder_tree/folder_tree_shared.h"
#include "ui/win32/folder_tree/folder_tree_state.h"

namespace {

std::vector<HTREEITEM> Children(HWND tree, HTREEITEM node) {
  std::vector<HTREEITEM> children;
  for (HTREEITEM child = NodeChild(tree, node); child; child = NodeNext(tree, child)) children.push_back(child);
  return children;
}

// Where a new child goes: folders before files, each kind in a sorted tree at its place
// by name, else after the last child of its kind. The node to insert after, or TVI_FIRST.
HTREEITEM PlaceFor(const FolderTreeState& state, HTREEITEM node, int64_t kind, const std::u16string& name) {
  const bool sorted = state.flags & kFolderTreeSorted;
  HTREEITEM after = TVI_FIRST;
  for (HTREEITEM child = NodeChild(state.tree, node); child; child = NodeNext(state.tree, child)) {
    const int64_t child_kind = NodeKind(NodeParameter(state.tree, child));
    const bool before_new = child_kind != kind ? child_kind < kind
                                               : !sorted || NaturalCompare(NodeText(state.tree, child), name) <= 0;
    if (!before_new) break;
    after = child;
  }
  return after;
}

// The filled nodes whose path is `path`.
void FindFilled(const FolderTreeState& state, HTREEITEM node, const std::u16string& path,
                std::vector<HTREEITEM>& found) {
  if (!IsFilled(NodeParameter(state.tree, node))) return;
  if (node != state.root && FolderTreePath(state, node) == path) found.push_back(node);
  for (HTREEITEM child : Children(state.tree, node)) FindFilled(state, child, path, found);
}

void CollectOpen(const FolderTreeState& state, HTREEITEM node, std::vector<std::u16string>& paths) {
  if (!NodeIsOpen(state.tree, node) || !IsFilled(NodeParameter(state.tree, node))) return;
  if (node != state.root) paths.push_back(FolderTreePath(state, node));
  for (HTREEITEM child : Children(state.tree, node)) CollectOpen(state, child, paths);
}

}  // namespace

bool FolderTreeNodeRefresh(FolderTreeState& state, HTREEITEM node) {
  if (node == state.root || !IsFilled(NodeParameter(state.tree, node))) return true;  // read when first opened
  const std::u16string path = FolderTreePath(state, node);
  if (path.empty()) return true;
  const FolderReadRules rules = FolderTreeRules(state);
  const FolderContents contents = FolderRead(rules, path);
  if (!contents.readable) return false;

  std::set<std::u16string> folders(contents.folders.begin(), contents.folders.end());
  std::set<std::u16string> files(contents.files.begin(), contents.files.end());
  const HTREEITEM selected = FolderTreeSelected(state);
  bool selection_gone = false;
  for (HTREEITEM child : Children(state.tree, node)) {
    const int64_t parameter = NodeParameter(state.tree, child);
    const bool is_folder = NodeKind(parameter) == kNodeFolder;
    const std::u16string name = NodeText(state.tree, child);
    // A name still there keeps its node; it is taken off the list of names to add.
    if ((is_folder ? folders : files).erase(name) == 1) {
      if (is_folder && !IsFilled(parameter))
        NodeChildrenSet(state.tree, child, FolderShowsChildren(rules, path + name + u'\\'));
      continue;
    }
    if (NodeWithin(state.tree, selected, child)) selection_gone = true;
    NodeDelete(state, child);
  }
  for (const std::u16string& name : contents.folders)
    if (folders.count(name)) FolderNodeAdd(state, node, PlaceFor(state, node, kNodeFolder, name), path, name);
  {
    const std::lock_guard hold(FolderTreeSharedGet()->file_icons.Lock());
    for (const std::u16string& name : contents.files)
      if (files.count(name)) FileNodeAdd(state, node, PlaceFor(state, node, kNodeFile, name), path, name);
  }
  NodeChildrenSet(state.tree, node, NodeChild(state.tree, node) != nullptr);

  // Taking the selected node away moves the view's selection on by itself; the
  // selection goes to this node, the nearest one still there, and that is reported once.
  if (selection_gone) {
    NodeSelectQuietly(state, node);
    ControlEventPost(state.tree, DetailChange);
  } else if (selected && FolderTreeSelected(state) != selected) {
    NodeSelectQuietly(state, selected);
  }
  return true;
}

void FolderTreeRefreshOpen(FolderTreeState& state) {
  std::vector<std::u16string> paths;
  if (state.root) CollectOpen(state, state.root, paths);
  if (const HTREEITEM selected = FolderTreeSelected(state)) paths.push_back(FolderTreePath(state, selected));
  // Parents first: reading a parent again may take a child's node away.
  std::sort(paths.begin(), paths.end(), [](const std::u16string& a, const std::u16string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
  });
  paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
  for (const std::u16string& path : paths) {
    // Found afresh each time: reading a node again may take other nodes away.
    for (size_t k = 0;; ++k) {
      std::vector<HTREEITEM> found;
      FindFilled(state, state.root, path, found);
      if (k >= found.size()) break;
      // A folder gone: the nearest parent that can still be read.
      for (HTREEITEM at = found[k]; at && at != state.root; at = NodeParent(state.tree, at))
        if (FolderTreeNodeRefresh(state, at)) break;
    }
  }
}
