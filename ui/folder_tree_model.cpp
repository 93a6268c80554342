#include "ui/folder_tree_model.h"

#include <algorithm>
#include <set>

#include "ui/natural_order.h"

namespace {

// Where a new child goes among `children`: folders before files, each kind in a sorted
// tree at its place by name, else after the last child of its kind.
size_t PlaceFor(const FolderTreeNodes& nodes, const std::vector<TreeNode>& children, int64_t kind,
                const std::u16string& name, bool sorted) {
  const auto before_new = [&](TreeNode child) {
    const int64_t child_kind = NodeKind(nodes.Parameter(child));
    if (child_kind != kind) return child_kind < kind;
    return !sorted || NaturalCompare(nodes.Text(child), name) <= 0;
  };
  return static_cast<size_t>(std::partition_point(children.begin(), children.end(), before_new) - children.begin());
}

TreeNode FolderChild(const FolderTreeNodes& nodes, TreeNode node, const std::u16string& name, bool ignore_case) {
  for (TreeNode child : nodes.Children(node))
    if (NodeKind(nodes.Parameter(child)) == kNodeFolder && nodes.SameName(nodes.Text(child), name, ignore_case))
      return child;
  return nullptr;
}

// Fills the node and opens it; false when it could not be filled.
bool Open(FolderTreeNodes& nodes, TreeNode node) {
  if (!FolderTreeFill(nodes, node)) return false;
  nodes.Open(node);
  return true;
}

// The filled nodes whose path is `path`.
void FindFilled(const FolderTreeNodes& nodes, TreeNode node, const std::u16string& path, std::vector<TreeNode>& found) {
  if (!IsFilled(nodes.Parameter(node))) return;
  if (node != nodes.Root() && FolderTreePath(nodes, node) == path) found.push_back(node);
  for (TreeNode child : nodes.Children(node)) FindFilled(nodes, child, path, found);
}

void CollectOpen(const FolderTreeNodes& nodes, TreeNode node, std::vector<std::u16string>& paths) {
  if (!nodes.IsOpen(node) || !IsFilled(nodes.Parameter(node))) return;
  if (node != nodes.Root()) paths.push_back(FolderTreePath(nodes, node));
  for (TreeNode child : nodes.Children(node)) CollectOpen(nodes, child, paths);
}

}  // namespace

bool FolderTreeWithin(const FolderTreeNodes& nodes, TreeNode node, TreeNode outer) {
  for (; node; node = nodes.Parent(node))
    if (node == outer) return true;
  return false;
}

void FolderTreeClosing(FolderTreeNodes& nodes, TreeNode node) {
  const TreeNode selected = nodes.Selected();
  if (selected == node || !FolderTreeWithin(nodes, selected, node)) return;
  nodes.SelectQuietly(node);
  nodes.ReportChange();
}

void FolderTreeGoTo(FolderTreeNodes& nodes, const std::u16string& target) {
  const int64_t drive = nodes.DriveOf(target);
  if (!nodes.Root() || drive < 0) return;
  const std::u16string root = nodes.DriveRoot(drive);
  TreeNode node = nullptr;
  for (TreeNode child : nodes.Children(nodes.Root()))
    if (NodeKind(nodes.Parameter(child)) == drive) {
      node = child;
      break;
    }
  if (!node) return;
  Open(nodes, node);
  const char16_t separator = nodes.Rules().separator;
  for (size_t start = std::min(root.size(), target.size()); start < target.size();) {
    size_t end = target.find(separator, start);
    if (end == std::u16string::npos) end = target.size();
    const std::u16string name = target.substr(start, end - start);
    start = end + 1;
    if (name.empty()) continue;
    TreeNode child = FolderChild(nodes, node, name, false);
    if (!child) child = FolderChild(nodes, node, name, true);
    if (!child) return;
    Open(nodes, child);
    node = child;
  }
  nodes.ScrollIntoView(node);
  if (nodes.Selected() == node) return;
  nodes.SelectQuietly(node);
  nodes.ReportChange();
}

bool FolderTreeNodeRefresh(FolderTreeNodes& nodes, TreeNode node) {
  if (node == nodes.Root() || !IsFilled(nodes.Parameter(node))) return true;  // read when it is first opened
  const std::u16string path = FolderTreePath(nodes, node);
  if (path.empty()) return true;
  const FolderReadRules rules = nodes.Rules();
  const FolderContents contents = FolderRead(rules, path);
  if (!contents.readable) return false;

  std::set<std::u16string> folders(contents.folders.begin(), contents.folders.end());
  std::set<std::u16string> files(contents.files.begin(), contents.files.end());
  const TreeNode selected = nodes.Selected();
  bool selection_gone = false;
  for (TreeNode child : nodes.Children(node)) {
    const int64_t parameter = nodes.Parameter(child);
    const bool is_folder = NodeKind(parameter) == kNodeFolder;
    const std::u16string name = nodes.Text(child);
    // A name still there keeps its node; it is taken off the list of names to add.
    if ((is_folder ? folders : files).erase(name) == 1) {
      if (is_folder && !IsFilled(parameter))
        nodes.SetHasChildren(child, FolderShowsChildren(rules, path + name + rules.separator));
      continue;
    }
    // Once taken away, the selected node is asked nothing more.
    if (!selection_gone && FolderTreeWithin(nodes, selected, child)) selection_gone = true;
    nodes.Remove(child);
  }
  const auto add = [&](int64_t kind, const std::vector<std::u16string>& names,
                       const std::set<std::u16string>& new_names) {
    for (const std::u16string& name : names) {
      if (!new_names.count(name)) continue;
      const bool children = kind == kNodeFolder && FolderShowsChildren(rules, path + name + rules.separator);
      const NewTreeNode made{kind, name, children};
      nodes.Insert(node, PlaceFor(nodes, nodes.Children(node), kind, name, rules.sorted), path, {&made, 1});
    }
  };
  add(kNodeFolder, contents.folders, folders);
  add(kNodeFile, contents.files, files);
  nodes.SetHasChildren(node, !nodes.Children(node).empty());

  // Taking the selected node away moves the view's selection on by itself; the
  // selection goes to this node, the nearest one still there, and that is reported once.
  // Any other selection stays where it was.
  const TreeNode restore = selection_gone ? node : selected;
  if (restore && nodes.Selected() != restore) nodes.SelectQuietly(restore);
  if (selection_gone) nodes.ReportChange();
  return true;
}

void FolderTreeRefreshPaths(FolderTreeNodes& nodes, std::vector<std::u16string> paths) {
  if (!nodes.Root()) return;
  // Parents first: reading a parent again may take a child's node away.
  std::sort(paths.begin(), paths.end(), [](const std::u16string& a, const std::u16string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
  });
  paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
  for (const std::u16string& path : paths) {
    // Found afresh each time: reading a node again may take other nodes away.
    for (size_t k = 0;; ++k) {
      std::vector<TreeNode> found;
      FindFilled(nodes, nodes.Root(), path, found);
      if (k >= found.size()) break;
      // A folder gone: the nearest parent that can still be read.
      for (TreeNode at = found[k]; at && at != nodes.Root(); at = nodes.Parent(at))
        if (FolderTreeNodeRefresh(nodes, at)) break;
    }
  }
}

void FolderTreeRefreshOpen(FolderTreeNodes& nodes) {
  std::vector<std::u16string> paths = FolderTreeOpenPaths(nodes);
  if (const TreeNode selected = nodes.Selected()) paths.push_back(FolderTreePath(nodes, selected));
  FolderTreeRefreshPaths(nodes, std::move(paths));
}

std::vector<std::u16string> FolderTreeOpenPaths(const FolderTreeNodes& nodes) {
  std::vector<std::u16string> paths;
  if (nodes.Root()) CollectOpen(nodes, nodes.Root(), paths);
  return paths;
}
