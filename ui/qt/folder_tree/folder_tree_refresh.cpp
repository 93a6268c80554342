#include <QTreeWidget>
#include <algorithm>
#include <mutex>
#include <set>

#include "ui/control_register.h"
#include "ui/events.h"
#include "ui/folder_tree.h"
#include "ui/natural_order.h"
#include "ui/qt/folder_tree/folder_tree_shared.h"
#include "ui/qt/folder_tree/folder_tree_state.h"
#include "ui/qt/folder_tree/folder_tree_watch.h"
#include "ui/qt/text_view.h"

namespace {

bool IsFilled(const QTreeWidgetItem* node) { return (NodeParameter(node) & FilledMark) == FilledMark; }

// Whether the node is `outer` or lies inside it.
bool Within(const QTreeWidgetItem* node, const QTreeWidgetItem* outer) {
  for (; node; node = node->parent())
    if (node == outer) return true;
  return false;
}

// Where a new child goes: folders before files, each kind in a sorted tree at its place
// by name, else after the last child of its kind.
int PlaceFor(const FolderTreeState& state, const QTreeWidgetItem* node, int64_t kind, const std::u16string& name) {
  const bool sorted = state.flags & kFolderTreeSorted;
  const auto before_new = [&](const QTreeWidgetItem* child) {
    const int64_t child_kind = NodeKind(NodeParameter(child));
    if (child_kind != kind) return child_kind < kind;
    return !sorted || NaturalCompare(TextView(child->text(0)), name) <= 0;
  };
  int low = 0, high = node->childCount();
  while (low < high) {
    const int middle = low + (high - low) / 2;
    if (before_new(node->child(middle)))
      low = middle + 1;
    else
      high = middle;
  }
  return low;
}

// The filled nodes whose path is `path`.
void FindFilled(const FolderTreeState& state, QTreeWidgetItem* node, const std::u16string& path,
                std::vector<QTreeWidgetItem*>& found) {
  if (!IsFilled(node)) return;
  if (node != state.root && FolderTreePath(state, node) == path) found.push_back(node);
  for (int i = 0; i < node->childCount(); ++i) FindFilled(state, node->child(i), path, found);
}

void CollectOpen(const FolderTreeState& state, const QTreeWidgetItem* node, std::vector<std::u16string>& paths) {
  if (!node->isExpanded() || !IsFilled(node)) return;
  if (node != state.root) paths.push_back(FolderTreePath(state, node));
  for (int i = 0; i < node->childCount(); ++i) CollectOpen(state, node->child(i), paths);
}

}  // namespace

bool FolderTreeNodeRefresh(FolderTreeState& state, QTreeWidgetItem* node) {
  if (!IsFilled(node) || node == state.root) return true;  // read when it is first opened
  const std::u16string path = FolderTreePath(state, node);
  if (path.empty()) return true;
  const FolderReadRules rules = FolderTreeRules(state);
  const FolderContents contents = FolderRead(rules, path);
  if (!contents.readable) return false;

  std::set<std::u16string> folders(contents.folders.begin(), contents.folders.end());
  std::set<std::u16string> files(contents.files.begin(), contents.files.end());
  QTreeWidgetItem* const selected = FolderTreeSelected(state);
  bool selection_gone = false;
  for (int i = node->childCount() - 1; i >= 0; --i) {
    QTreeWidgetItem* child = node->child(i);
    std::set<std::u16string>& wanted = NodeKind(NodeParameter(child)) == kNodeFolder ? folders : files;
    // A name still there keeps its node; it is taken off the list of names to add.
    if (wanted.erase(NodeText(child)) == 1) {
      if (&wanted == &folders && !IsFilled(child))
        child->setChildIndicatorPolicy(FolderShowsChildren(rules, path + NodeText(child) + u"/")
                                           ? QTreeWidgetItem::ShowIndicator
                                           : QTreeWidgetItem::DontShowIndicator);
      continue;
    }
    if (Within(selected, child)) selection_gone = true;
    state.quiet = true;
    delete node->takeChild(i);
    state.quiet = false;
  }
  for (const std::u16string& name : contents.folders)
    if (folders.count(name))
      node->insertChild(PlaceFor(state, node, kNodeFolder, name), FolderNodeMake(state, path, name).release());
  {
    const std::lock_guard hold(state.shared->file_icons.Lock());
    for (const std::u16string& name : contents.files)
      if (files.count(name))
        node->insertChild(PlaceFor(state, node, kNodeFile, name), FileNodeMake(state, path, name).release());
  }

  // Taking the selected node away moves the view's selection on by itself; the
  // selection goes to this node, the nearest one still there, and that is reported once.
  // Any other selection stays where it was.
  QTreeWidgetItem* const restore = selection_gone ? node : selected;
  if (restore && FolderTreeSelected(state) != restore) {
    state.quiet = true;
    state.tree->setCurrentItem(restore);
    state.quiet = false;
  }
  if (selection_gone) ControlEventPost(state.tree, DetailChange);
  return true;
}

void FolderTreeRefreshPaths(FolderTreeState& state, std::vector<std::u16string> paths) {
  std::sort(paths.begin(), paths.end(), [](const std::u16string& a, const std::u16string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
  });
  paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
  for (const std::u16string& path : paths) {
    // Found afresh each time: reading a node again may take other nodes away.
    for (size_t k = 0;; ++k) {
      std::vector<QTreeWidgetItem*> found;
      FindFilled(state, state.root, path, found);
      if (k >= found.size()) break;
      for (QTreeWidgetItem* at = found[k]; at && at != state.root; at = at->parent())
        if (FolderTreeNodeRefresh(state, at)) break;
    }
  }
}

std::vector<std::u16string> FolderTreeOpenPaths(const FolderTreeState& state) {
  std::vector<std::u16string> paths;
  if (state.root) CollectOpen(state, state.root, paths);
  return paths;
}

void FolderTreeWatchOpen(FolderTreeState& state) {
  if (state.watch) state.watch->Follow(FolderTreeOpenPaths(state));
}
