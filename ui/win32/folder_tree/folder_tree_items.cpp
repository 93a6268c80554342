#include "ui/win32/folder_tree/folder_tree_items.h"

#include <mutex>

#include "fs/win32/quiet_errors.h"
#include "ui/events.h"
#include "ui/win32/folder_tree/folder_tree_shared.h"

namespace {

HTREEITEM Item(const void* item) { return static_cast<HTREEITEM>(const_cast<void*>(item)); }

HTREEITEM Next(HWND tree, const void* item, WPARAM how) {
  return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
}

// Sets what the mask names of the item.
void ItemSet(HWND tree, TVITEMW& item) { SendMessageW(tree, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)); }

void Delete(HWND tree, HTREEITEM item) { SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item)); }

wchar_t* Wide(const std::u16string& text) {
  return const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(text.c_str()));
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

DriveMask SystemTreeView::Drives() const { return GetLogicalDrives(); }
std::u16string SystemTreeView::DriveRoot(int64_t drive) const { return ::DriveRoot(drive); }

// "C:\..." in either case.
int64_t SystemTreeView::DriveOf(const std::u16string& path) const {
  if (path.size() < 3 || path.compare(1, 2, u":\\") != 0) return -1;
  const char16_t letter = path[0] >= u'a' && path[0] <= u'z' ? static_cast<char16_t>(path[0] - 32) : path[0];
  return letter >= u'A' && letter <= u'Z' ? letter - u'A' : -1;
}

std::u16string SystemTreeView::DriveLabel(int64_t drive) const {
  const QuietErrors quiet;
  return ::DriveLabel(drive);
}

const FolderTreePlaces& SystemTreeView::Places() const { return *FolderTreeSharedGet(); }

// A drive that arrives goes last, after the documents node.
bool SystemTreeView::DriveBefore(int64_t, const std::u16string&, const FolderTreeNode&) const { return false; }

bool SystemTreeView::SameName(const std::u16string& a, const std::u16string& b, bool ignore_case) const {
  return CompareStringOrdinal(Wide(a), static_cast<int>(a.size()), Wide(b), static_cast<int>(b.size()), ignore_case) ==
         CSTR_EQUAL;
}

const void* SystemTreeView::SelectedItem() const { return Next(tree, nullptr, TVGN_CARET); }

bool SystemTreeView::IsOpen(const void* item) const {
  return (SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

void SystemTreeView::Clear() { Delete(tree, TVI_ROOT); }

std::vector<const void*> SystemTreeView::Insert(const void* parent, size_t index, const std::u16string& path,
                                                std::span<const FolderTreeNode* const> nodes) {
  HTREEITEM after = TVI_FIRST;
  for (HTREEITEM child = Next(tree, parent, TVGN_CHILD); child && index > 0;
       child = Next(tree, child, TVGN_NEXT), --index)
    after = child;
  auto& file_icons = FolderTreeSharedGet()->file_icons;
  const std::lock_guard hold(file_icons.Lock());
  std::vector<const void*> items;
  for (const FolderTreeNode* node : nodes) {
    const int64_t kind = NodeKind(node->parameter);
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent ? Item(parent) : TVI_ROOT;
    insert.hInsertAfter = after;
    TVITEMW& item = insert.item;
    item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_PARAM;
    item.pszText = Wide(node->text);
    item.iImage = item.iSelectedImage = kind == kNodeFile ? file_icons.For(path + node->text) : KindIcon(kind);
    item.cChildren = node->has_children ? 1 : 0;
    item.lParam = static_cast<LPARAM>(node->parameter);  // the node's kind, for whoever reads the tree view
    after = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    items.push_back(after);
  }
  return items;
}

void SystemTreeView::Remove(const void* item) { Delete(tree, Item(item)); }

void SystemTreeView::Renew(const void* item, const FolderTreeNode& node) {
  SendMessageW(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(item));
  while (HTREEITEM child = Next(tree, item, TVGN_CHILD)) Delete(tree, child);
  TVITEMW shown = {};
  shown.mask = TVIF_CHILDREN | TVIF_PARAM | TVIF_STATE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
  shown.hItem = Item(item);
  shown.cChildren = 1;
  shown.lParam = static_cast<LPARAM>(node.parameter);
  shown.stateMask = TVIS_EXPANDEDONCE;  // so that opening it asks to be filled again
  shown.pszText = Wide(node.text);
  shown.iImage = shown.iSelectedImage = KindIcon(NodeKind(node.parameter));
  ItemSet(tree, shown);
}

void SystemTreeView::SetHasChildren(const void* item, bool children) {
  TVITEMW shown = {};
  shown.mask = TVIF_CHILDREN | TVIF_HANDLE;
  shown.hItem = Item(item);
  shown.cChildren = children ? 1 : 0;
  ItemSet(tree, shown);
}

void SystemTreeView::Open(const void* item) {
  SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
}

void SystemTreeView::ScrollIntoView(const void* item) {
  SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
}

void SystemTreeView::Select(const void* item) {
  SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

void SystemTreeView::ReportChange() { ControlEventPost(tree, DetailChange); }
