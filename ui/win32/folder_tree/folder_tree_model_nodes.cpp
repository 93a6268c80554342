#include <mutex>

#include "ui/events.h"
#include "ui/folder_tree_system_nodes.h"
#include "ui/win32/folder_tree/folder_tree_shared.h"
#include "ui/win32/folder_tree/folder_tree_state.h"

namespace {

HTREEITEM Item(TreeNode node) { return static_cast<HTREEITEM>(const_cast<void*>(node)); }

}  // namespace

TreeNode SystemTreeNodes::Root() const { return state_.root; }

std::vector<TreeNode> SystemTreeNodes::Children(TreeNode node) const {
  std::vector<TreeNode> children;
  for (HTREEITEM child = NodeChild(state_.tree, Item(node)); child; child = NodeNext(state_.tree, child))
    children.push_back(child);
  return children;
}

TreeNode SystemTreeNodes::Parent(TreeNode node) const { return NodeParent(state_.tree, Item(node)); }
int64_t SystemTreeNodes::Parameter(TreeNode node) const { return NodeParameter(state_.tree, Item(node)); }
std::u16string SystemTreeNodes::Text(TreeNode node) const { return NodeText(state_.tree, Item(node)); }
bool SystemTreeNodes::IsOpen(TreeNode node) const { return NodeIsOpen(state_.tree, Item(node)); }
TreeNode SystemTreeNodes::Selected() const { return FolderTreeSelected(state_); }
std::u16string SystemTreeNodes::Path(TreeNode node) const { return FolderTreePath(state_, Item(node)); }
FolderReadRules SystemTreeNodes::Rules() const { return FolderTreeRules(state_); }

bool SystemTreeNodes::SameName(const std::u16string& a, const std::u16string& b, bool ignore_case) const {
  return CompareStringOrdinal(reinterpret_cast<const wchar_t*>(a.data()), static_cast<int>(a.size()),
                              reinterpret_cast<const wchar_t*>(b.data()), static_cast<int>(b.size()),
                              ignore_case) == CSTR_EQUAL;
}

void SystemTreeNodes::Insert(TreeNode parent, size_t index, int64_t kind, const std::u16string& path,
                             const std::u16string& name, bool children) {
  HTREEITEM after = TVI_FIRST;
  if (index > 0) after = Item(Children(parent)[index - 1]);
  if (kind == kNodeFile) {
    const std::lock_guard hold(FolderTreeSharedGet()->file_icons.Lock());
    FileNodeAdd(state_, Item(parent), after, path, name);
  } else {
    NodeAdd(state_.tree, Item(parent), after, name, FolderTreeSharedGet()->folder_icon, children, kind);
  }
}

void SystemTreeNodes::Remove(TreeNode node) { NodeDelete(state_, Item(node)); }
void SystemTreeNodes::SetHasChildren(TreeNode node, bool children) {
  NodeChildrenSet(state_.tree, Item(node), children);
}
bool SystemTreeNodes::Fill(TreeNode node) { return FolderTreeExpand(state_, Item(node)); }

void SystemTreeNodes::Open(TreeNode node) {
  SendMessageW(state_.tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(Item(node)));
}

void SystemTreeNodes::SelectQuietly(TreeNode node) { NodeSelectQuietly(state_, Item(node)); }

void SystemTreeNodes::ScrollIntoView(TreeNode node) {
  SendMessageW(state_.tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(Item(node)));
}

void SystemTreeNodes::ReportChange() { ControlEventPost(state_.tree, DetailChange); }
