#include <QTreeWidget>
#include <QVariant>

#include "ui/natural_order.h"
#include "ui/qt/folder_tree/folder_tree_shared.h"
#include "ui/qt/folder_tree/folder_tree_state.h"
#include "ui/qt/text_view.h"

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

std::unique_ptr<QTreeWidgetItem> NodeMake(const std::u16string& text, const QIcon& icon, bool children,
                                          int64_t parameter) {
  auto node = std::make_unique<QTreeWidgetItem>();
  node->setText(0, QString::fromStdU16String(text));
  node->setIcon(0, icon);
  node->setChildIndicatorPolicy(children ? QTreeWidgetItem::ShowIndicator : QTreeWidgetItem::DontShowIndicator);
  NodeParameterSet(node.get(), parameter);
  return node;
}

QTreeWidgetItem* NodeAdd(QTreeWidgetItem* parent, const std::u16string& text, const QIcon& icon, bool children,
                         int64_t parameter) {
  QTreeWidgetItem* node = NodeMake(text, icon, children, parameter).release();
  parent->addChild(node);  // the parent owns it from here
  return node;
}

std::u16string NodeText(const QTreeWidgetItem* node) { return node->text(0).toStdU16String(); }

std::u16string FolderTreePath(const FolderTreeState& state, const QTreeWidgetItem* node) {
  std::u16string path;
  for (; node && node != state.root; node = node->parent()) {
    const int64_t kind = NodeKind(NodeParameter(node));
    if (kind == kNodeFolder) {
      path = NodeText(node) + u"/" + path;
    } else if (kind == kNodeDocuments) {
      path = state.shared->documents_path + path;
    } else if (kind == kNodeFile) {
      path = NodeText(node);
    } else if (IsDriveKind(kind)) {
      const MountEntry* drive = state.shared->drives.Drives().Drive(kind);
      // Without its drive the rest would read as a relative path: no path at all.
      if (!drive) return {};
      path = DriveRootPath(*drive) + path;
    }
  }
  return path;
}

// Drives stand together, the root file system first and the others in the order
// people read their names, so that one that arrives shows beside the others and not
// after the documents node.
void DriveNodeAdd(FolderTreeState& state, int64_t drive) {
  const MountEntry* entry = state.shared->drives.Drives().Drive(drive);
  if (!entry) return;
  const std::u16string name = DriveDisplayName(*entry);
  const bool root = entry->mount_point == u"/";
  int at = 0;
  for (; at < state.root->childCount(); ++at) {
    const QTreeWidgetItem* node = state.root->child(at);
    if (!IsDriveKind(NodeKind(NodeParameter(node)))) break;
    const MountEntry* other = state.shared->drives.Drives().Drive(NodeKind(NodeParameter(node)));
    if (root || (other && other->mount_point != u"/" && NaturalCompare(name, TextView(node->text(0))) < 0)) break;
  }
  std::unique_ptr<QTreeWidgetItem> node = NodeMake(name, state.shared->drive_icon, true, drive);
  state.root->insertChild(at, node.release());  // the root owns it from here
}

void DriveNodeRefresh(FolderTreeState& state, QTreeWidgetItem* node, int64_t drive) {
  const MountEntry* entry = state.shared->drives.Drives().Drive(drive);
  if (!entry) return;
  node->setExpanded(false);
  // Dropped with the filled mark, so that the next opening does not add them twice.
  while (node->childCount() > 0) std::unique_ptr<QTreeWidgetItem>(node->takeChild(node->childCount() - 1));
  node->setText(0, QString::fromStdU16String(DriveDisplayName(*entry)));
  node->setIcon(0, state.shared->drive_icon);
  node->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
  NodeParameterSet(node, drive);
}
