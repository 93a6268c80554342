#include <QTimer>
#include <QTreeWidget>
#include <mutex>

#include "ui/events.h"
#include "ui/folder_tree_system_nodes.h"
#include "ui/qt/folder_tree/folder_tree_shared.h"
#include "ui/qt/folder_tree/folder_tree_state.h"
#include "ui/qt/folder_tree/folder_tree_watch.h"

namespace {

QTreeWidgetItem* Item(TreeNode node) { return const_cast<QTreeWidgetItem*>(static_cast<const QTreeWidgetItem*>(node)); }

}  // namespace

TreeNode SystemTreeNodes::Root() const { return state_.root; }

std::vector<TreeNode> SystemTreeNodes::Children(TreeNode node) const {
  std::vector<TreeNode> children;
  for (int i = 0; i < Item(node)->childCount(); ++i) children.push_back(Item(node)->child(i));
  return children;
}

TreeNode SystemTreeNodes::Parent(TreeNode node) const { return Item(node)->parent(); }
int64_t SystemTreeNodes::Parameter(TreeNode node) const { return NodeParameter(Item(node)); }
std::u16string SystemTreeNodes::Text(TreeNode node) const { return NodeText(Item(node)); }
bool SystemTreeNodes::IsOpen(TreeNode node) const { return Item(node)->isExpanded(); }
TreeNode SystemTreeNodes::Selected() const { return FolderTreeSelected(state_); }
std::u16string SystemTreeNodes::Path(TreeNode node) const { return FolderTreePath(state_, Item(node)); }
FolderReadRules SystemTreeNodes::Rules() const { return FolderTreeRules(state_); }

bool SystemTreeNodes::SameName(const std::u16string& a, const std::u16string& b, bool ignore_case) const {
  return QString::compare(QString::fromStdU16String(a), QString::fromStdU16String(b),
                          ignore_case ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
}

void SystemTreeNodes::Insert(TreeNode parent, size_t index, int64_t kind, const std::u16string& path,
                             const std::u16string& name, bool children) {
  std::unique_ptr<QTreeWidgetItem> node;
  if (kind == kNodeFile) {
    const std::lock_guard hold(state_.shared->file_icons.Lock());
    node = FileNodeMake(state_, path, name);
  } else {
    node = NodeMake(name, state_.shared->folder_icon, children, kind);
  }
  Item(parent)->insertChild(static_cast<int>(index), node.release());  // the parent owns it from here
}

void SystemTreeNodes::Remove(TreeNode node) {
  state_.quiet = true;
  delete Item(node);  // it leaves its parent as it goes
  state_.quiet = false;
}

void SystemTreeNodes::SetHasChildren(TreeNode node, bool children) {
  Item(node)->setChildIndicatorPolicy(children ? QTreeWidgetItem::ShowIndicator : QTreeWidgetItem::DontShowIndicator);
}

bool SystemTreeNodes::Fill(TreeNode node) { return FolderTreeExpand(state_, Item(node)); }
void SystemTreeNodes::Open(TreeNode node) { Item(node)->setExpanded(true); }

void SystemTreeNodes::SelectQuietly(TreeNode node) {
  state_.quiet = true;
  state_.tree->setCurrentItem(Item(node));
  state_.quiet = false;
}

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
void SystemTreeNodes::ReportChange() { ControlEventPost(state_.tree, DetailChange); }

void FolderTreeWatchOpen(FolderTreeState& state) {
  if (state.watch) state.watch->Follow(FolderTreeOpenPaths(SystemTreeNodes(state)));
}
