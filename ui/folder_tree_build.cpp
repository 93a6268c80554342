#include "fs/path_separator.h"
#include "ui/folder_tree.h"
#include "ui/folder_tree_model.h"

std::u16string FolderTreePath(const FolderTreeNodes& nodes, TreeNode node) {
  std::u16string path;
  for (; node && node != nodes.Root(); node = nodes.Parent(node)) {
    const int64_t kind = NodeKind(nodes.Parameter(node));
    if (kind == kNodeFolder) {
      path = nodes.Text(node) + kFolderSeparator + path;
    } else if (kind == kNodeDocuments) {
      path = nodes.DocumentsPath() + path;
    } else if (kind == kNodeFile) {
      path = nodes.Text(node);
    } else if (IsDriveKind(kind)) {
      const std::u16string root = nodes.DriveRoot(kind);
      // Without its drive the rest would read as a relative path: no path at all.
      if (root.empty()) return {};
      path = root + path;
    }
  }
  return path;
}

std::u16string FolderTreeSelectedPath(const FolderTreeNodes& nodes) {
  const TreeNode node = nodes.Selected();
  return node ? FolderTreePath(nodes, node) : std::u16string();
}

int64_t FolderTreeSelectedState(const FolderTreeNodes& nodes) {
  const TreeNode node = nodes.Selected();
  if (!node) return 0;
  // (Drive 0 counts as selected before it was first opened, though its parameter is 0.)
  return NodeKind(nodes.Parameter(node)) == kNodeFile ? 1 : 2;
}

void FolderTreeRebuild(FolderTreeNodes& nodes) {
  nodes.Clear();
  const NewTreeNode computer{kComputerParameter, nodes.Label(kNodeComputer), true};
  nodes.Insert(nullptr, 0, u"", {&computer, 1});
  FolderTreeDrivesArrived(nodes, 0);  // every drive present, as none has a node yet
  if (!(nodes.Flags() & kFolderTreeNoDocuments) && !nodes.DocumentsPath().empty()) {
    const NewTreeNode documents{kNodeDocuments, nodes.Label(kNodeDocuments), true};
    nodes.Insert(nodes.Root(), nodes.Children(nodes.Root()).size(), u"", {&documents, 1});
  }
  nodes.Open(nodes.Root());
}

void FolderTreeTextSet(FolderTreeNodes& nodes, const std::u16string& text) {
  nodes.NoticeClose();
  FolderTreeRequest request = FolderTreeRequestOf(text, kFolderSeparator);
  if (request.new_patterns) nodes.SetPatterns(request.patterns);
  if (request.to_selection)
    if (const TreeNode selected = nodes.Selected()) request.target = FolderTreePath(nodes, selected);
  if (request.rebuild) FolderTreeRebuild(nodes);
  if (!request.target.empty()) FolderTreeGoTo(nodes, request.target);
}

bool FolderTreeFill(FolderTreeNodes& nodes, TreeNode node) {
  const int64_t parameter = nodes.Parameter(node);
  const std::u16string path = FolderTreePath(nodes, node);
  const FillStep step = FolderTreeFillStep(parameter, path, nodes.Flags());
  if (step == FillStep::kNotReady) nodes.NoticeOpen(NodeKind(parameter));
  if (step != FillStep::kRead) return step == FillStep::kFilled;
  const FolderReadRules rules = nodes.Rules();
  const FolderContents contents = FolderRead(rules, path);
  std::vector<NewTreeNode> made;
  made.reserve(contents.folders.size() + contents.files.size());
  for (const std::u16string& name : contents.folders)
    made.push_back({kNodeFolder, name, FolderShowsChildren(rules, path + name + rules.separator)});
  for (const std::u16string& name : contents.files) made.push_back({kNodeFile, name, false});
  if (!made.empty()) nodes.Insert(node, nodes.Children(node).size(), path, made);
  nodes.SetHasChildren(node, !made.empty());
  nodes.SetParameter(node, parameter | FilledMark);
  return true;
}
