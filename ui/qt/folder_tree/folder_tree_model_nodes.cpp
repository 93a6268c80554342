#include <QTreeWidget>
#include <mutex>

#include "ui/events.h"
#include "ui/qt/folder_tree/folder_tree_shared.h"
#include "ui/qt/folder_tree/folder_tree_state.h"
#include "ui/qt/folder_tree/folder_tree_watch.h"

namespace {

QTreeWidgetItem* Item(TreeNode node) { return const_cast<QTreeWidgetItem*>(static_cast<const QTreeWidgetItem*>(node)); }

}  // namespace

TreeNode QtTreeNodes::Root() const { return state_.root; }

std::vector<TreeNode> QtTreeNodes::Children(TreeNode node) const {
  std::vector<TreeNode> children;
  for (int i = 0; i < Item(node)->childCount(); ++i) children.push_back(Item(node)->child(i));
  return children;
}

TreeNode QtTreeNodes::Parent(TreeNode node) const { return Item(node)->parent(); }
int64_t QtTreeNodes::Parameter(TreeNode node) const { return NodeParameter(Item(node)); }
std::u16string QtTreeNodes::Text(TreeNode node) const { return NodeText(Item(node)); }
bool QtTreeNodes::IsOpen(TreeNode node) const { return Item(node)->isExpanded(); }
TreeNode QtTreeNodes::Selected() const { return FolderTreeSelected(state_); }
std::u16string QtTreeNodes::Path(TreeNode node) const { return FolderTreePath(state_, Item(node)); }
FolderReadRules QtTreeNodes::Rules() const { return FolderTreeRules(state_); }

bool QtTreeNodes::SameName(const std::u16string& a, const std::u16string& b, bool ignore_case) const {
  return QString::compare(QString::fromStdU16String(a), QString::fromStdU16String(b),
                          ignore_case ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
}

void QtTreeNodes::Insert(TreeNode parent, size_t index, int64_t kind, const std::u16string& path,
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

void QtTreeNodes::Remove(TreeNode node) {
  state_.quiet = true;
  delete Item(node);  // it leaves its parent as it goes
  state_.quiet = false;
}

void QtTreeNodes::SetHasChildren(TreeNode node, bool children) {
  Item(node)->setChildIndicatorPolicy(children ? QTreeWidgetItem::ShowIndicator : QTreeWidgetItem::DontShowIndicator);
}

bool QtTreeNodes::Fill(TreeNode node) { return FolderTreeExpand(state_, Item(node)); }
void QtTreeNodes::Open(TreeNode node) { Item(node)->setExpanded(true); }

void QtTreeNodes::SelectQuietly(TreeNode node) {
  state_.quiet = true;
  state_.tree->setCurrentItem(Item(node));
  state_.quiet = false;
}

void QtTreeNodes::ScrollIntoView(TreeNode node) { state_.tree->scrollToItem(Item(node)); }
void QtTreeNodes::ReportChange() { ControlEventPost(state_.tree, DetailChange); }

void FolderTreeWatchOpen(FolderTreeState& state) {
  if (state.watch) state.watch->Follow(FolderTreeOpenPaths(QtTreeNodes(state)));
}
