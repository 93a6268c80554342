#include <algorithm>

#include "ui/folder_tree_model.h"

namespace {

// Selection changes the view makes meanwhile are not reported.
class Quiet {
 public:
  explicit Quiet(FolderTree& tree) : tree_(tree), was_(tree.quiet) { tree.quiet = true; }
  ~Quiet() { tree_.quiet = was_; }
  Quiet(const Quiet&) = delete;
  Quiet& operator=(const Quiet&) = delete;

 private:
  FolderTree& tree_;
  bool was_;
};

void Forget(FolderTree& tree, const FolderTreeNode& node) {
  tree.by_item.erase(node.item);
  for (const auto& child : node.children) Forget(tree, *child);
}

}  // namespace

std::unique_ptr<FolderTreeNode> FolderTreeNodeMade(int64_t parameter, std::u16string text, bool children) {
  auto node = std::make_unique<FolderTreeNode>();
  node->parameter = parameter;
  node->text = std::move(text);
  node->has_children = children;
  return node;
}

bool FolderTreeWithin(const FolderTreeNode* node, const FolderTreeNode* outer) {
  for (; node; node = node->parent)
    if (node == outer) return true;
  return false;
}

FolderTreeNode* FolderTreeNodeOf(const FolderTree& tree, const void* item) {
  const auto found = tree.by_item.find(item);
  return found == tree.by_item.end() ? nullptr : found->second;
}

FolderTreeNode* FolderTreeSelected(const FolderTree& tree) { return FolderTreeNodeOf(tree, tree.view->SelectedItem()); }

void FolderTreeClear(FolderTree& tree) {
  const Quiet quiet(tree);
  tree.view->Clear();
  tree.by_item.clear();
  tree.root.reset();
}

void FolderTreeInsert(FolderTree& tree, FolderTreeNode* parent, size_t index, const std::u16string& path,
                      std::vector<std::unique_ptr<FolderTreeNode>> nodes) {
  if (nodes.empty()) return;
  std::vector<const FolderTreeNode*> shown;
  for (const auto& node : nodes) shown.push_back(node.get());
  const std::vector<const void*> items = tree.view->Insert(parent ? parent->item : nullptr, index, path, shown);
  for (size_t i = 0; i < nodes.size() && i < items.size(); ++i) {
    nodes[i]->item = items[i];
    nodes[i]->parent = parent;
    tree.by_item[items[i]] = nodes[i].get();
  }
  if (!parent) {
    tree.root = std::move(nodes.front());
    return;
  }
  auto& children = parent->children;
  children.insert(children.begin() + static_cast<ptrdiff_t>(std::min(index, children.size())),
                  std::make_move_iterator(nodes.begin()), std::make_move_iterator(nodes.end()));
}

void FolderTreeRemove(FolderTree& tree, FolderTreeNode* node) {
  {
    const Quiet quiet(tree);
    tree.view->Remove(node->item);
  }
  Forget(tree, *node);
  std::erase_if(node->parent->children, [&](const auto& child) { return child.get() == node; });
}

void FolderTreeRenew(FolderTree& tree, FolderTreeNode* node, int64_t parameter, const std::u16string& text) {
  for (const auto& child : node->children) Forget(tree, *child);
  node->children.clear();
  node->parameter = parameter;
  node->text = text;
  node->has_children = true;
  const Quiet quiet(tree);
  tree.view->Renew(node->item, *node);
  node->closed = false;  // closing it just now marked it
}

void FolderTreeSetHasChildren(FolderTree& tree, FolderTreeNode* node, bool children) {
  node->has_children = children;
  tree.view->SetHasChildren(node->item, children);
}

void FolderTreeSelectQuietly(FolderTree& tree, FolderTreeNode* node) {
  const Quiet quiet(tree);
  tree.view->Select(node->item);
}

void FolderTreeTakeSelection(FolderTree& tree, FolderTreeNode* node) {
  const FolderTreeNode* selected = FolderTreeSelected(tree);
  if (selected == node || !FolderTreeWithin(selected, node)) return;
  FolderTreeSelectQuietly(tree, node);
  tree.view->ReportChange();
}
