#include "ui/folder_tree.h"
#include "ui/folder_tree_model.h"

namespace {

std::u16string GetText(ControlRecord& record) {
  const FolderTree* tree = FolderTreeOf(record);
  return tree ? FolderTreeSelectedPath(*tree) : std::u16string();
}

int64_t GetState(ControlRecord& record) {
  const FolderTree* tree = FolderTreeOf(record);
  return tree ? FolderTreeSelectedState(*tree) : 0;
}

void SetText(ControlRecord& record, const std::u16string& path) {
  if (FolderTree* tree = FolderTreeOf(record)) FolderTreeTextSet(*tree, path);
}

void Release(ControlRecord& record) {
  if (FolderTree* tree = FolderTreeOf(record)) FolderTreeNoticeClose(*tree);
}

}  // namespace

FolderTree* FolderTreeOf(ControlRecord& record) {
  if (!record.ops || record.ops->type_id != kFolderTreeType) return nullptr;
  return static_cast<FolderTree*>(record.state.get());
}

FolderTree* FolderTreeOf(NativeHandle control) {
  ControlRecord* record = ControlOf(control);
  return record ? FolderTreeOf(*record) : nullptr;
}

ControlOps FolderTreeOps() {
  ControlOps ops;
  ops.type_id = kFolderTreeType;
  ops.release = Release;
  ops.get_state = GetState;
  ops.get_text = GetText;
  ops.set_text = SetText;
  return ops;
}

void FolderTreeStart(FolderTree& tree, const std::u16string& initial_path) {
  FolderTreeTextSet(tree, u"");
  FolderTreeTextSet(tree, initial_path);
}

bool FolderTreeOpening(FolderTree& tree, const void* item) {
  FolderTreeNode* node = FolderTreeNodeOf(tree, item);
  if (!node) return false;
  if (node->closed) {
    node->closed = false;
    FolderTreeNodeRefresh(tree, node);
  }
  const bool filled = FolderTreeFill(tree, node);
  if (filled) FolderTreeFollowOpen(tree);
  return filled;
}

void FolderTreeClosing(FolderTree& tree, const void* item) {
  FolderTreeNode* node = FolderTreeNodeOf(tree, item);
  if (!node) return;
  FolderTreeTakeSelection(tree, node);
  node->closed = tree.follows && IsFilled(node->parameter);
  FolderTreeFollowOpen(tree);
}

void FolderTreeSelectionChanged(FolderTree& tree) {
  if (!tree.quiet) tree.view->ReportChange();
}

void FolderTreeChanged(FolderTree& tree, std::vector<std::u16string> paths) {
  FolderTreeRefreshPaths(tree, std::move(paths));
  FolderTreeFollowOpen(tree);
}

void FolderTreeNoticeGone(FolderTree& tree) { tree.notice_drive = -1; }

void FolderTreeNavigate(int64_t number, const std::u16string& path) {
  ControlRecord* record = ControlFind(number);
  if (record && record->ops && record->ops->set_text) record->ops->set_text(*record, path);
}

void FolderTreeRefresh(int64_t number) {
  ControlRecord* record = ControlFind(number);
  if (FolderTree* tree = record ? FolderTreeOf(*record) : nullptr) FolderTreeRefreshAll(*tree);
}
