#include "ui/qt/folder_tree/folder_tree_items.h"

#include <QTimer>
#include <QTreeWidget>
#include <mutex>

#include "ui/events.h"
#include "ui/natural_order.h"
#include "ui/qt/folder_tree/folder_tree_shared.h"
#include "ui/qt/folder_tree/folder_tree_watch.h"

namespace {

QTreeWidgetItem* Item(const void* item) {
  return const_cast<QTreeWidgetItem*>(static_cast<const QTreeWidgetItem*>(item));
}

const QIcon& KindIcon(const FolderTreeShared& shared, int64_t kind) {
  if (kind == kNodeComputer) return shared.computer_icon;
  if (kind == kNodeDocuments) return shared.documents_icon;
  if (kind == kNodeFolder) return shared.folder_icon;
  return shared.drive_icon;
}

void ChildIndicatorSet(QTreeWidgetItem* item, bool children) {
  item->setChildIndicatorPolicy(children ? QTreeWidgetItem::ShowIndicator : QTreeWidgetItem::DontShowIndicator);
}

}  // namespace

SystemTreeView::SystemTreeView(QTreeWidget* widget) : tree(widget), shared(FolderTreeSharedTake()) {}
SystemTreeView::~SystemTreeView() = default;

DriveMask SystemTreeView::Drives() const { return shared->drives.Drives().Present(); }

std::u16string SystemTreeView::DriveRoot(int64_t drive) const {
  const MountEntry* entry = shared->drives.Drives().Drive(drive);
  return entry ? DriveRootPath(*entry) : std::u16string();
}

int64_t SystemTreeView::DriveOf(const std::u16string& path) const { return shared->drives.Drives().DriveOf(path); }

std::u16string SystemTreeView::DriveLabel(int64_t drive) const {
  const MountEntry* entry = shared->drives.Drives().Drive(drive);
  return entry ? DriveDisplayName(*entry) : std::u16string();
}

const FolderTreePlaces& SystemTreeView::Places() const { return *shared; }

// Drives stand together, the root file system first and the others in the order people
// read their names, so that one that arrives shows beside the others and not after the
// documents node.
bool SystemTreeView::DriveBefore(int64_t drive, const std::u16string& label, const FolderTreeNode& other) const {
  const int64_t kind = NodeKind(other.parameter);
  if (!IsDriveKind(kind)) return true;
  const DriveTable& drives = shared->drives.Drives();
  const MountEntry* entry = drives.Drive(drive);
  const MountEntry* held = drives.Drive(kind);
  return (entry && entry->mount_point == u"/") ||
         (held && held->mount_point != u"/" && NaturalCompare(label, other.text) < 0);
}

bool SystemTreeView::SameName(const std::u16string& a, const std::u16string& b, bool ignore_case) const {
  return QString::compare(QString::fromStdU16String(a), QString::fromStdU16String(b),
                          ignore_case ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
}

void SystemTreeView::DrivesRead() { shared->drives.Refresh(); }

const void* SystemTreeView::SelectedItem() const {
  const QList<QTreeWidgetItem*> selected = tree->selectedItems();
  return selected.isEmpty() ? nullptr : selected.front();
}

bool SystemTreeView::IsOpen(const void* item) const { return Item(item)->isExpanded(); }
void SystemTreeView::Clear() { tree->clear(); }

std::vector<const void*> SystemTreeView::Insert(const void* parent, size_t index, const std::u16string& path,
                                                std::span<const FolderTreeNode* const> nodes) {
  QList<QTreeWidgetItem*> made;
  std::vector<const void*> items;
  {
    const std::lock_guard hold(shared->file_icons.Lock());
    for (const FolderTreeNode* node : nodes) {
      auto item = std::make_unique<QTreeWidgetItem>();
      const int64_t kind = NodeKind(node->parameter);
      item->setText(0, QString::fromStdU16String(node->text));
      item->setIcon(0, kind == kNodeFile ? shared->file_icons.For(path + node->text) : KindIcon(*shared, kind));
      ChildIndicatorSet(item.get(), node->has_children);
      items.push_back(item.get());
      made.append(item.release());
    }
  }
  // The parent owns them from here.
  QTreeWidgetItem* under = parent ? Item(parent) : tree->invisibleRootItem();
  under->insertChildren(static_cast<int>(index), made);
  return items;
}

void SystemTreeView::Remove(const void* item) {
  delete Item(item);  // it leaves its parent as it goes
}

void SystemTreeView::Renew(const void* item, const FolderTreeNode& node) {
  QTreeWidgetItem* shown = Item(item);
  shown->setExpanded(false);
  qDeleteAll(shown->takeChildren());
  shown->setText(0, QString::fromStdU16String(node.text));
  shown->setIcon(0, KindIcon(*shared, NodeKind(node.parameter)));
  ChildIndicatorSet(shown, true);
}

void SystemTreeView::SetHasChildren(const void* item, bool children) { ChildIndicatorSet(Item(item), children); }
void SystemTreeView::Open(const void* item) { Item(item)->setExpanded(true); }

void SystemTreeView::ScrollIntoView(const void* item) {
  tree->scrollToItem(Item(item));
  // The nodes just opened widen the column, and the sideways scroll bar that may come
  // with that takes the bottom row's place, only once the tree is laid out again (or
  // first shown): the node it then has selected, this one, is scrolled to once more.
  QTimer::singleShot(0, tree, [shown = tree] {
    if (QTreeWidgetItem* current = shown->currentItem()) shown->scrollToItem(current);
  });
}

void SystemTreeView::Select(const void* item) { tree->setCurrentItem(Item(item)); }
void SystemTreeView::ReportChange() { ControlEventPost(tree, DetailChange); }
void SystemTreeView::Follow(const std::vector<std::u16string>& paths) { watch->Follow(paths); }
