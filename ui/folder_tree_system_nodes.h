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
  uint32_t Flags() const override;
  FolderReadRules Rules() const override;
  bool SameName(const std::u16string& a, const std::u16string& b, bool ignore_case) const override;
  DriveMask Drives() const override;
  std::u16string DriveRoot(int64_t drive) const override;
  int64_t DriveOf(const std::u16string& path) const override;
  std::u16string DocumentsPath() const override;
  std::u16string Label(int64_t kind) const override;
  bool DriveBefore(int64_t drive, const std::u16string& label, TreeNode other) const override;
  void Clear() override;
  void Insert(TreeNode parent, size_t index, const std::u16string& path, std::span<const NewTreeNode> nodes) override;
  void Remove(TreeNode node) override;
  void Renew(TreeNode node, int64_t parameter, const std::u16string& text) override;
  void SetParameter(TreeNode node, int64_t parameter) override;
  void SetHasChildren(TreeNode node, bool children) override;
  void Open(TreeNode node) override;
  void ScrollIntoView(TreeNode node) override;
  void SelectQuietly(TreeNode node) override;
  void ReportChange() override;
  void SetPatterns(const std::u16string& patterns) override;
  void NoticeOpen(int64_t drive) override;
  void NoticeClose() override;
  int64_t NoticeDrive() const override;

 private:
  FolderTreeState& state_;
};
