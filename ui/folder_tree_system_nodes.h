#pragma once
// The window system's folder tree as the shared model sees it: each system's folder
// tree implements it over its own state and nodes.
#include "ui/folder_tree_model.h"

struct FolderTreeState;  // each window system's own

class SystemTreeNodes final : public FolderTreeNodes {
 public:
  explicit SystemTreeNodes(FolderTreeState& state) : state_(state) {}
  TreeNode Root() const override;
  std::vector<TreeNode> Children(TreeNode node) const override;
  TreeNode Parent(TreeNode node) const override;
  int64_t Parameter(TreeNode node) const override;
  std::u16string Text(TreeNode node) const override;
  bool IsOpen(TreeNode node) const override;
  TreeNode Selected() const override;
  std::u16string Path(TreeNode node) const override;
  FolderReadRules Rules() const override;
  bool SameName(const std::u16string& a, const std::u16string& b, bool ignore_case) const override;
  void Insert(TreeNode parent, size_t index, int64_t kind, const std::u16string& path, const std::u16string& name,
              bool children) override;
  void Remove(TreeNode node) override;
  void SetHasChildren(TreeNode node, bool children) override;
  bool Fill(TreeNode node) override;
  void Open(TreeNode node) override;
  void SelectQuietly(TreeNode node) override;
  void ScrollIntoView(TreeNode node) override;
  void ReportChange() override;

 private:
  FolderTreeState& state_;
};
