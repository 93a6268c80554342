#include <mutex>

#include "fs/win32/quiet_errors.h"
#include "ui/events.h"
#include "ui/folder_tree_system_nodes.h"
#include "ui/win32/folder_tree/folder_tree_shared.h"
#include "ui/win32/folder_tree/folder_tree_state.h"

namespace {

HTREEITEM Item(TreeNode node) { return static_cast<HTREEITEM>(const_cast<void*>(node)); }

// The icon of a node other than a file's.
int KindIcon(int64_t kind) {
  const FolderTreeShared& shared = *FolderTreeSharedGet();
  if (kind == kNodeComputer) return shared.computer_icon;
  if (kind == kNodeDocuments) return shared.documents_icon;
  if (kind == kNodeFolder) return shared.folder_icon;
  const QuietErrors quiet;
  return ShellIcon(DriveRoot(kind));
}

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

bool SystemTreeNodes::IsOpen(TreeNode node) const {
  return (SendMessageW(state_.tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(Item(node)), TVIS_EXPANDED) &
          TVIS_EXPANDED) != 0;
}

TreeNode SystemTreeNodes::Selected() const { return FolderTreeSelected(state_); }
uint32_t SystemTreeNodes::Flags() const { return state_.flags; }
FolderReadRules SystemTreeNodes::Rules() const { return FolderReadRulesFor(state_.flags, state_.patterns, u'\\'); }

bool SystemTreeNodes::SameName(const std::u16string& a, const std::u16string& b, bool ignore_case) const {
  return CompareStringOrdinal(reinterpret_cast<const wchar_t*>(a.data()), static_cast<int>(a.size()),
                              reinterpret_cast<const wchar_t*>(b.data()), static_cast<int>(b.size()),
                              ignore_case) == CSTR_EQUAL;
}

DriveMask SystemTreeNodes::Drives() const { return GetLogicalDrives(); }
std::u16string SystemTreeNodes::DriveRoot(int64_t drive) const { return ::DriveRoot(drive); }

// "C:\..." in either case.
int64_t SystemTreeNodes::DriveOf(const std::u16string& path) const {
  if (path.size() < 3 || path.compare(1, 2, u":\\") != 0) return -1;
  const char16_t letter = path[0] >= u'a' && path[0] <= u'z' ? static_cast<char16_t>(path[0] - 32) : path[0];
  return letter >= u'A' && letter <= u'Z' ? letter - u'A' : -1;
}

std::u16string SystemTreeNodes::DocumentsPath() const {
  const FolderTreeShared* shared = FolderTreeSharedGet();
  return shared && shared->documents_shown ? shared->documents_path : std::u16string();
}

std::u16string SystemTreeNodes::Label(int64_t kind) const {
  if (kind == kNodeComputer) return FolderTreeSharedGet()->computer_label;
  if (kind == kNodeDocuments) return FolderTreeSharedGet()->documents_label;
  const QuietErrors quiet;
  return DriveLabel(kind);
}

// A drive that arrives goes last, after the documents node.
bool SystemTreeNodes::DriveBefore(int64_t, const std::u16string&, TreeNode) const { return false; }

void SystemTreeNodes::Clear() {
  NodeDelete(state_, TVI_ROOT);
  state_.root = nullptr;
}

void SystemTreeNodes::Insert(TreeNode parent, size_t index, const std::u16string& path,
                             std::span<const NewTreeNode> nodes) {
  const HTREEITEM under = parent ? Item(parent) : TVI_ROOT;
  HTREEITEM after = index == 0 ? TVI_FIRST : Item(Children(parent)[index - 1]);
  IconCache& file_icons = FolderTreeSharedGet()->file_icons;
  const std::lock_guard hold(file_icons.Lock());
  for (const NewTreeNode& node : nodes) {
    const int64_t kind = NodeKind(node.parameter);
    const int icon = kind == kNodeFile ? file_icons.For(path + node.text) : KindIcon(kind);
    after = NodeAdd(state_.tree, under, after, node.text, icon, node.children, node.parameter);
  }
  if (!parent) state_.root = after;
}

void SystemTreeNodes::Remove(TreeNode node) { NodeDelete(state_, Item(node)); }

void SystemTreeNodes::Renew(TreeNode node, int64_t parameter, const std::u16string& text) {
  SendMessageW(state_.tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(Item(node)));
  while (HTREEITEM child = NodeChild(state_.tree, Item(node))) NodeDelete(state_, child);
  TVITEMW item = {};
  item.mask = TVIF_CHILDREN | TVIF_PARAM | TVIF_STATE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
  item.hItem = Item(node);
  item.cChildren = 1;
  item.lParam = static_cast<LPARAM>(parameter);
  item.stateMask = TVIS_EXPANDEDONCE;  // so that opening it asks to be filled again
  item.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(text.c_str()));
  item.iImage = item.iSelectedImage = KindIcon(NodeKind(parameter));
  SendMessageW(state_.tree, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void SystemTreeNodes::SetParameter(TreeNode node, int64_t parameter) {
  NodeParameterSet(state_.tree, Item(node), parameter);
}

void SystemTreeNodes::SetHasChildren(TreeNode node, bool children) {
  TVITEMW item = {};
  item.mask = TVIF_CHILDREN | TVIF_HANDLE;
  item.hItem = Item(node);
  item.cChildren = children ? 1 : 0;
  SendMessageW(state_.tree, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void SystemTreeNodes::Open(TreeNode node) {
  SendMessageW(state_.tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(Item(node)));
}

void SystemTreeNodes::ScrollIntoView(TreeNode node) {
  SendMessageW(state_.tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(Item(node)));
}

void SystemTreeNodes::SelectQuietly(TreeNode node) { NodeSelectQuietly(state_, Item(node)); }
void SystemTreeNodes::ReportChange() { ControlEventPost(state_.tree, DetailChange); }
void SystemTreeNodes::SetPatterns(const std::u16string& patterns) { state_.patterns = patterns; }
void SystemTreeNodes::NoticeOpen(int64_t drive) { ::NoticeOpen(state_, drive); }
void SystemTreeNodes::NoticeClose() { ::NoticeClose(state_); }
int64_t SystemTreeNodes::NoticeDrive() const { return state_.notice ? state_.notice_drive : -1; }
