#include <QTreeWidget>
#include <QVariant>

#include "ui/qt/folder_tree/folder_tree_state.h"

FolderTreeState* FolderTreeStateOf(ControlRecord& record) {
  if (!record.ops || record.ops->type_id != kFolderTreeType) return nullptr;
  return static_cast<FolderTreeState*>(record.state.get());
}

FolderTreeState* FolderTreeStateOf(QWidget* tree) {
  ControlRecord* record = ControlOf(tree);
  return record ? FolderTreeStateOf(*record) : nullptr;
}

QTreeWidgetItem* FolderTreeSelected(const FolderTreeState& state) {
  const QList<QTreeWidgetItem*> selected = state.tree->selectedItems();
  return selected.isEmpty() ? nullptr : selected.front();
}

int64_t NodeParameter(const QTreeWidgetItem* node) { return node->data(0, Qt::UserRole).toLongLong(); }

void NodeParameterSet(QTreeWidgetItem* node, int64_t parameter) {
  node->setData(0, Qt::UserRole, QVariant::fromValue<qlonglong>(parameter));
}
