#pragma once
// The folder tree's nodes as a tree widget shows them.
#include <QPointer>
#include <memory>

#include "ui/folder_tree_model.h"

class QTreeWidget;
struct FolderTreeShared;
class FolderTreeWatch;

class SystemTreeView final : public FolderTreeView {
 public:
  explicit SystemTreeView(QTreeWidget* widget);
  ~SystemTreeView() override;

  DriveMask Drives() const override;
  std::u16string DriveRoot(int64_t drive) const override;
  int64_t DriveOf(const std::u16string& path) const override;
  std::u16string DriveLabel(int64_t drive) const override;
  const FolderTreePlaces& Places() const override;
  bool DriveBefore(int64_t drive, const std::u16string& label, const FolderTreeNode& other) const override;
  bool SameName(const std::u16string& a, const std::u16string& b, bool ignore_case) const override;
  void DrivesRead() override;
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
  void Follow(const std::vector<std::u16string>& paths) override;
  bool NoticeShow(int64_t drive, const std::u16string& title, const std::u16string& text) override;
  void NoticeHide() override;

  QTreeWidget* const tree;  // owned by its window
  std::shared_ptr<FolderTreeShared> shared;
  std::unique_ptr<FolderTreeWatch> watch;  // the opened folders, for changes on disk
  QPointer<QWidget> notice;                // the open drive-not-ready notice
};
