#include <QTimer>
#include <QTreeWidget>
#include <QVariant>
#include <mutex>

#include "ui/events.h"
#include "ui/folder_tree_system_nodes.h"
#include "ui/natural_order.h"
#include "ui/qt/folder_tree/folder_tree_shared.h"
#include "ui/qt/folder_tree/folder_tree_state.h"
#include "ui/qt/folder_tree/folder_tree_watch.h"
#include "ui/qt/text_view.h"

namespace {

QTreeWidgetItem* Item(TreeNode node) { return const_cast<QTreeWidgetItem*>(static_cast<const QTreeWidgetItem*>(node)); }

const QIcon& KindIcon(const FolderTreeShared& shared, int64_t kind) {
  if (kind == kNodeComputer) return shared.computer_icon;
  if (kind == kNodeDocuments) return shared.documents_icon;
  if (kind == kNodeFolder) return shared.folder_icon;
  return shared.drive_icon;
}

int64_t NodeParameter(const QTreeWidgetItem* node) { return node->data(0, Qt::UserRole).toLongLong(); }

void NodeParameterSet(QTreeWidgetItem* node, int64_t parameter) {
  node->setData(0, Qt::UserRole, QVariant::fromValue<qlonglong>(parameter));
}

void ChildIndicatorSet(QTreeWidgetItem* node, bool children) {
  node->setChildIndicatorPolicy(children ? QTreeWidgetItem::ShowIndicator : QTreeWidgetItem::DontShowIndicator);
}

}  // namespace

FolderTreeState* FolderTreeStateOf(ControlRecord& record) {
  if (!record.ops || record.ops->type_id != kFolderTreeType) return nullptr;
  return static_cast<FolderTreeState*>(record.state.get());
}

FolderTreeState* FolderTreeStateOf(QWidget* tree) {
  ControlRecord* record = ControlOf(tree);
  return record ? FolderTreeStateOf(*record) : nullptr;
}

TreeNode SystemTreeNodes::Root() const { return state_.root; }

std::vector<TreeNode> SystemTreeNodes::Children(TreeNode node) const {
  std::vector<TreeNode> children;
  for (int i = 0; i < Item(node)->childCount(); ++i) children.push_back(Item(node)->child(i));
  return children;
}

TreeNode SystemTreeNodes::Parent(TreeNode node) const { return Item(node)->parent(); }
int64_t SystemTreeNodes::Parameter(TreeNode node) const { return NodeParameter(Item(node)); }
std::u16string SystemTreeNodes::Text(TreeNode node) const { return Item(node)->text(0).toStdU16String(); }
bool SystemTreeNodes::IsOpen(TreeNode node) const { return Item(node)->isExpanded(); }
TreeNode SystemTreeNodes::Selected() const {
  const QList<QTreeWidgetItem*> selected = state_.tree->selectedItems();
  return selected.isEmpty() ? nullptr : selected.front();
}
uint32_t SystemTreeNodes::Flags() const { return state_.flags; }
FolderReadRules SystemTreeNodes::Rules() const { return FolderReadRulesFor(state_.flags, state_.patterns, u'/'); }

bool SystemTreeNodes::SameName(const std::u16string& a, const std::u16string& b, bool ignore_case) const {
  return QString::compare(QString::fromStdU16String(a), QString::fromStdU16String(b),
                          ignore_case ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
}

DriveMask SystemTreeNodes::Drives() const { return state_.shared->drives.Drives().Present(); }

std::u16string SystemTreeNodes::DriveRoot(int64_t drive) const {
  const MountEntry* entry = state_.shared->drives.Drives().Drive(drive);
  return entry ? DriveRootPath(*entry) : std::u16string();
}

int64_t SystemTreeNodes::DriveOf(const std::u16string& path) const {
  return state_.shared->drives.Drives().DriveOf(path);
}

std::u16string SystemTreeNodes::DocumentsPath() const {
  return state_.shared->documents_shown ? state_.shared->documents_path : std::u16string();
}

std::u16string SystemTreeNodes::Label(int64_t kind) const {
  if (kind == kNodeComputer) return state_.shared->computer_label;
  if (kind == kNodeDocuments) return state_.shared->documents_label;
  const MountEntry* entry = state_.shared->drives.Drives().Drive(kind);
  return entry ? DriveDisplayName(*entry) : std::u16string();
}

// Drives stand together, the root file system first and the others in the order people
// read their names, so that one that arrives shows beside the others and not after the
// documents node.
bool SystemTreeNodes::DriveBefore(int64_t drive, const std::u16string& label, TreeNode other) const {
  const int64_t kind = NodeKind(Parameter(other));
  if (!IsDriveKind(kind)) return true;
  const DriveTable& drives = state_.shared->drives.Drives();
  const MountEntry* entry = drives.Drive(drive);
  const MountEntry* held = drives.Drive(kind);
  return (entry && entry->mount_point == u"/") ||
         (held && held->mount_point != u"/" && NaturalCompare(label, TextView(Item(other)->text(0))) < 0);
}

void SystemTreeNodes::Clear() {
  state_.quiet = true;
  state_.tree->clear();
  state_.quiet = false;
  state_.root = nullptr;
}

void SystemTreeNodes::Insert(TreeNode parent, size_t index, const std::u16string& path,
                             std::span<const NewTreeNode> nodes) {
  FolderTreeShared& shared = *state_.shared;
  QList<QTreeWidgetItem*> made;
  {
    const std::lock_guard hold(shared.file_icons.Lock());
    for (const NewTreeNode& node : nodes) {
      auto item = std::make_unique<QTreeWidgetItem>();
      const int64_t kind = NodeKind(node.parameter);
      item->setText(0, QString::fromStdU16String(node.text));
      item->setIcon(0, kind == kNodeFile ? shared.file_icons.For(path + node.text) : KindIcon(shared, kind));
      ChildIndicatorSet(item.get(), node.children);
      NodeParameterSet(item.get(), node.parameter);
      made.append(item.release());
    }
  }
  // The parent owns them from here.
  QTreeWidgetItem* under = parent ? Item(parent) : state_.tree->invisibleRootItem();
  under->insertChildren(static_cast<int>(index), made);
  if (!parent && !made.isEmpty()) state_.root = made.front();
}

void SystemTreeNodes::Remove(TreeNode node) {
  state_.quiet = true;
  delete Item(node);  // it leaves its parent as it goes
  state_.quiet = false;
}

void SystemTreeNodes::Renew(TreeNode node, int64_t parameter, const std::u16string& text) {
  QTreeWidgetItem* item = Item(node);
  item->setExpanded(false);
  state_.quiet = true;
  qDeleteAll(item->takeChildren());
  state_.quiet = false;
  item->setText(0, QString::fromStdU16String(text));
  item->setIcon(0, KindIcon(*state_.shared, NodeKind(parameter)));
  ChildIndicatorSet(item, true);
  NodeParameterSet(item, parameter);
}

void SystemTreeNodes::SetParameter(TreeNode node, int64_t parameter) { NodeParameterSet(Item(node), parameter); }
void SystemTreeNodes::SetHasChildren(TreeNode node, bool children) { ChildIndicatorSet(Item(node), children); }
void SystemTreeNodes::Open(TreeNode node) { Item(node)->setExpanded(true); }

void SystemTreeNodes::ScrollIntoView(TreeNode node) {
  QTreeWidget* tree = state_.tree;
  tree->scrollToItem(Item(node));
  // The nodes just opened widen the column, and the sideways scroll bar that may come
  // with that takes the bottom row's place, only once the tree is laid out again (or
  // first shown): the node it then has selected, this one, is scrolled to once more.
  QTimer::singleShot(0, tree, [tree] {
    if (QTreeWidgetItem* current = tree->currentItem()) tree->scrollToItem(current);
  });
}

void SystemTreeNodes::SelectQuietly(TreeNode node) {
  state_.quiet = true;
  state_.tree->setCurrentItem(Item(node));
  state_.quiet = false;
}

void SystemTreeNodes::ReportChange() { ControlEventPost(state_.tree, DetailChange); }
void SystemTreeNodes::SetPatterns(const std::u16string& patterns) { state_.patterns = patterns; }
void SystemTreeNodes::NoticeOpen(int64_t drive) { ::NoticeOpen(state_, drive); }
void SystemTreeNodes::NoticeClose() { ::NoticeClose(state_); }
int64_t SystemTreeNodes::NoticeDrive() const { return state_.notice ? state_.notice_drive : -1; }

void FolderTreeWatchOpen(FolderTreeState& state) {
  if (state.watch) state.watch->Follow(FolderTreeOpenPaths(SystemTreeNodes(state)));
}

void FolderTreesDrivesChanged(const DriveChanges& changes) {
  ControlForEach([&](ControlRecord& record) {
    FolderTreeState* state = FolderTreeStateOf(record);
    if (!state || !state->root) return;
    SystemTreeNodes nodes(*state);
    FolderTreeDrivesGone(nodes, changes.removed | changes.changed);
    FolderTreeDrivesArrived(nodes, changes.arrived | changes.changed);
    FolderTreeWatchOpen(*state);
  });
}
