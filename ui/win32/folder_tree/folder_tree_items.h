#pragma once
// The folder tree's nodes as a tree view shows them.
#include <windows.h>

#include <commctrl.h>

#include "ui/folder_tree_model.h"

class SystemTreeView final : public FolderTreeView {
 public:
  explicit SystemTreeView(HWND widget) : tree(widget) {}

  DriveMask Drives() const override;
  std::u16string DriveRoot(int64_t drive) const override;
  int64_t DriveOf(const std::u16string& path) const override;
  std::u16string DriveLabel(int64_t drive) const override;
  const FolderTreePlaces& Places() const override;
  bool DriveBefore(int64_t drive, const std::u16string& label, const FolderTreeNode& other) const override;
  bool SameName(const std::u16string& a, const std::u16string& b, bool ignore_case) const override;
  // The system tells of every drive that comes or goes, and nothing of folders.
  void DrivesRead() override {}
  void Follow(const std::vector<std::u16string>&) override {}
  const void* SelectedItem() const override;
  bool IsOpen(const void* item) const override;
  void Clear() override;
  std::vector<const void*> Insert(const void* parent, size_t index, const std::u16string& path,
                                  std::span<const FolderTreeNode* const> nodes) override;
  void Remove(const void* item) override;
  void Renew(const void* item, const FolderTreeNode& node) override;
  void SetHasChildren(const void* item, bool children) override;
  void Open(const void* item) override;
  void ScrollIntoView(const void* item) override;
  void Select(const void* item) override;
  void ReportChange() override;
  bool NoticeShow(int64_t drive, const std::u16string& title, const std::u16string& text) override;
  void NoticeHide() override;

  const HWND tree;
  HWND notice = nullptr;  // the open drive-not-ready notice
};

// Takes the top-level window of `window` as the one that hears of drive changes for
// every folder tree, when no window does yet.
void FolderTreesWatchDrives(HWND window);
