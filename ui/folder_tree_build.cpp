#include "fs/path_separator.h"
#include "ui/folder_tree.h"
#include "ui/folder_tree_model.h"

std::u16string FolderTreePath(const FolderTree& tree, const FolderTreeNode* node) {
  std::u16string path;
  for (; node && node != tree.root.get(); node = node->parent) {
    const int64_t kind = NodeKind(node->parameter);
    if (kind == kNodeFolder) {
      path = node->text + kFolderSeparator + path;
    } else if (kind == kNodeDocuments) {
      path = tree.view->Places().documents_path + path;
    } else if (kind == kNodeFile) {
      path = node->text;
    } else if (IsDriveKind(kind)) {
      const std::u16string root = tree.view->DriveRoot(kind);
      // Without its drive the rest would read as a relative path: no path at all.
      if (root.empty()) return {};
      path = root + path;
    }
  }
  return path;
}

std::u16string FolderTreeSelectedPath(const FolderTree& tree) {
  const FolderTreeNode* node = FolderTreeSelected(tree);
  return node ? FolderTreePath(tree, node) : std::u16string();
}

int64_t FolderTreeSelectedState(const FolderTree& tree) {
  const FolderTreeNode* node = FolderTreeSelected(tree);
  if (!node) return 0;
  // (Drive 0 counts as selected before it was first opened, though its parameter is 0.)
  return NodeKind(node->parameter) == kNodeFile ? 1 : 2;
}

void FolderTreeRebuild(FolderTree& tree) {
  FolderTreeClear(tree);
  std::vector<std::unique_ptr<FolderTreeNode>> computer;
  computer.push_back(FolderTreeNodeMade(kComputerParameter, tree.view->Places().computer_label, true));
  FolderTreeInsert(tree, nullptr, 0, u"", std::move(computer));
  FolderTreeDrivesArrived(tree, 0);  // every drive present, as none has a node yet
  if (!(tree.flags & kFolderTreeNoDocuments) && !tree.view->Places().documents_path.empty()) {
    std::vector<std::unique_ptr<FolderTreeNode>> documents;
    documents.push_back(FolderTreeNodeMade(kNodeDocuments, tree.view->Places().documents_label, true));
    FolderTreeInsert(tree, tree.root.get(), tree.root->children.size(), u"", std::move(documents));
  }
  tree.view->Open(tree.root->item);
}

void FolderTreeTextSet(FolderTree& tree, const std::u16string& text) {
  FolderTreeNoticeClose(tree);
  FolderTreeRequest request = FolderTreeRequestOf(text, kFolderSeparator);
  if (request.new_patterns) tree.patterns = request.patterns;
  if (request.to_selection)
    if (const FolderTreeNode* selected = FolderTreeSelected(tree)) request.target = FolderTreePath(tree, selected);
  if (request.rebuild) FolderTreeRebuild(tree);
  if (!request.target.empty()) FolderTreeGoTo(tree, request.target);
  FolderTreeFollowOpen(tree);
}

bool FolderTreeFill(FolderTree& tree, FolderTreeNode* node) {
  const int64_t parameter = node->parameter;
  const std::u16string path = FolderTreePath(tree, node);
  const FillStep step = FolderTreeFillStep(parameter, path, tree.flags);
  if (step == FillStep::kNotReady) FolderTreeNoticeOpen(tree, NodeKind(parameter));
  if (step != FillStep::kRead) return step == FillStep::kFilled;
  const FolderReadRules rules = FolderReadRulesFor(tree.flags, tree.patterns, kFolderSeparator);
  const FolderContents contents = FolderRead(rules, path);
  std::vector<std::unique_ptr<FolderTreeNode>> made;
  made.reserve(contents.folders.size() + contents.files.size());
  for (const std::u16string& name : contents.folders)
    made.push_back(FolderTreeNodeMade(kNodeFolder, name, FolderShowsChildren(rules, path + name + rules.separator)));
  for (const std::u16string& name : contents.files) made.push_back(FolderTreeNodeMade(kNodeFile, name, false));
  const bool any = !made.empty();
  FolderTreeInsert(tree, node, node->children.size(), path, std::move(made));
  FolderTreeSetHasChildren(tree, node, any);
  node->parameter = parameter | FilledMark;
  return true;
}
