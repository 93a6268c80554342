#include <mutex>

#include "fs/win32/quiet_errors.h"
#include "ui/events.h"
#include "ui/folder_tree_system_nodes.h"
#include "ui/win32/folder_tree/folder_tree_shared.h"
#include "ui/win32/folder_tree/folder_tree_state.h"

namespace {

// Longer than any name a node shows: a file name or a shell display name.
constexpr int kNodeTextRoom = 1024;

// Selection changes made while it lives are not reported.
class Quiet {
 public:
  explicit Quiet(FolderTreeState& state) : state_(state), was_(state.quiet) { state.quiet = true; }
  ~Quiet() { state_.quiet = was_; }
  Quiet(const Quiet&) = delete;
  Quiet& operator=(const Quiet&) = delete;

 private:
  FolderTreeState& state_;
  bool was_;
};

HTREEITEM Item(TreeNode node) { return static_cast<HTREEITEM>(const_cast<void*>(node)); }

HTREEITEM Next(HWND tree, TreeNode node, WPARAM how) {
  return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(node)));
}

// Sets what the mask names of the node.
void ItemSet(HWND tree, TVITEMW& item) { SendMessageW(tree, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)); }

void Delete(FolderTreeState& state, HTREEITEM node) {
  const Quiet quiet(state);
  SendMessageW(state.tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node));
}

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

FolderTreeState* FolderTreeStateOf(ControlRecord& record) {
  if (!record.ops || record.ops->type_id != kFolderTreeType) return nullptr;
  return static_cast<FolderTreeState*>(record.state.get());
}

FolderTreeState* FolderTreeStateOf(HWND tree) {
  ControlRecord* record = ControlOf(tree);
  return record ? FolderTreeStateOf(*record) : nullptr;
}

TreeNode SystemTreeNodes::Root() const { return state_.root; }

std::vector<TreeNode> SystemTreeNodes::Children(TreeNode node) const {
  std::vector<TreeNode> children;
  for (HTREEITEM child = Next(state_.tree, node, TVGN_CHILD); child; child = Next(state_.tree, child, TVGN_NEXT))
    children.push_back(child);
  return children;
}

TreeNode SystemTreeNodes::Parent(TreeNode node) const { return Next(state_.tree, node, TVGN_PARENT); }

int64_t SystemTreeNodes::Parameter(TreeNode node) const {
  TVITEMW item = {};
  item.mask = TVIF_PARAM | TVIF_HANDLE;
  item.hItem = Item(node);
  if (!SendMessageW(state_.tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return 0;
  return static_cast<int64_t>(item.lParam);
}

std::u16string SystemTreeNodes::Text(TreeNode node) const {
  wchar_t text[kNodeTextRoom] = {};
  TVITEMW item = {};
  item.mask = TVIF_TEXT | TVIF_HANDLE;
  item.hItem = Item(node);
  item.pszText = text;
  item.cchTextMax = kNodeTextRoom;
  if (!SendMessageW(state_.tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return {};
  return reinterpret_cast<const char16_t*>(item.pszText);
}

bool SystemTreeNodes::IsOpen(TreeNode node) const {
  return (SendMessageW(state_.tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(node), TVIS_EXPANDED) & TVIS_EXPANDED) !=
         0;
}

TreeNode SystemTreeNodes::Selected() const { return Next(state_.tree, nullptr, TVGN_CARET); }

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
  Delete(state_, TVI_ROOT);
  state_.root = nullptr;
}

void SystemTreeNodes::Insert(TreeNode parent, size_t index, const std::u16string& path,
                             std::span<const NewTreeNode> nodes) {
  const HTREEITEM under = parent ? Item(parent) : TVI_ROOT;
  HTREEITEM after = index == 0 ? TVI_FIRST : Item(Children(parent)[index - 1]);
  auto& file_icons = FolderTreeSharedGet()->file_icons;
  const std::lock_guard hold(file_icons.Lock());
  for (const NewTreeNode& node : nodes) {
    const int64_t kind = NodeKind(node.parameter);
    const int icon = kind == kNodeFile ? file_icons.For(path + node.text) : KindIcon(kind);
    TVINSERTSTRUCTW insert = {};
    insert.hParent = under;
    insert.hInsertAfter = after;
    TVITEMW& item = insert.item;
    item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_PARAM;
    item.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(node.text.c_str()));
    item.iImage = item.iSelectedImage = icon;
    item.cChildren = node.children ? 1 : 0;
    item.lParam = static_cast<LPARAM>(node.parameter);
    after =
        reinterpret_cast<HTREEITEM>(SendMessageW(state_.tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  }
  if (!parent) state_.root = after;
}

void SystemTreeNodes::Remove(TreeNode node) { Delete(state_, Item(node)); }

void SystemTreeNodes::Renew(TreeNode node, int64_t parameter, const std::u16string& text) {
  SendMessageW(state_.tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(Item(node)));
  while (HTREEITEM child = Next(state_.tree, node, TVGN_CHILD)) Delete(state_, child);
  TVITEMW item = {};
  item.mask = TVIF_CHILDREN | TVIF_PARAM | TVIF_STATE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
  item.hItem = Item(node);
  item.cChildren = 1;
  item.lParam = static_cast<LPARAM>(parameter);
  item.stateMask = TVIS_EXPANDEDONCE;  // so that opening it asks to be filled again
  item.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(text.c_str()));
  item.iImage = item.iSelectedImage = KindIcon(NodeKind(parameter));
  ItemSet(state_.tree, item);
}

void SystemTreeNodes::SetParameter(TreeNode node, int64_t parameter) {
  TVITEMW item = {};
  item.mask = TVIF_PARAM | TVIF_HANDLE;
  item.hItem = Item(node);
  item.lParam = static_cast<LPARAM>(parameter);
  ItemSet(state_.tree, item);
}

void SystemTreeNodes::SetHasChildren(TreeNode node, bool children) {
  TVITEMW item = {};
  item.mask = TVIF_CHILDREN | TVIF_HANDLE;
  item.hItem = Item(node);
  item.cChildren = children ? 1 : 0;
  ItemSet(state_.tree, item);
}

void SystemTreeNodes::Open(TreeNode node) {
  SendMessageW(state_.tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(Item(node)));
}

void SystemTreeNodes::ScrollIntoView(TreeNode node) {
  SendMessageW(state_.tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(Item(node)));
}

void SystemTreeNodes::SelectQuietly(TreeNode node) {
  const Quiet quiet(state_);
  SendMessageW(state_.tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
}
void SystemTreeNodes::ReportChange() { ControlEventPost(state_.tree, DetailChange); }
void SystemTreeNodes::SetPatterns(const std::u16string& patterns) { state_.patterns = patterns; }
void SystemTreeNodes::NoticeOpen(int64_t drive) { ::NoticeOpen(state_, drive); }
void SystemTreeNodes::NoticeClose() { ::NoticeClose(state_); }
int64_t SystemTreeNodes::NoticeDrive() const { return state_.notice ? state_.notice_drive : -1; }
