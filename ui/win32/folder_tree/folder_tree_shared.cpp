#include "ui/win32/folder_tree/folder_tree_shared.h"

#include <shellapi.h>
#include <shlobj.h>

#include <memory>

namespace {

// The documents folder and the computer by their parsing names, for when the shell
// gives no item for them.
constexpr wchar_t kDocumentsParsingName[] = L"::{450d8fba-ad25-11d0-98a8-0800361b1103}";
constexpr wchar_t kComputerParsingName[] = L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// A shell item, freed with the shell's allocator.
struct ItemFree {
  void operator()(ITEMIDLIST* item) const { CoTaskMemFree(item); }
};
using ShellItem = std::unique_ptr<ITEMIDLIST, ItemFree>;

ShellItem SpecialFolder(int which) {
  ITEMIDLIST* item = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, which, &item))) return nullptr;
  return ShellItem(item);
}

// What the shell says of a path, or of an item with SHGFI_PIDL.
bool Ask(const void* what, UINT flags, SHFILEINFOW& info) {
  info = {};
  return SHGetFileInfoW(static_cast<const wchar_t*>(what), 0, &info, sizeof info, flags) != 0;
}

int IconOf(const void* what, UINT flags) {
  SHFILEINFOW info;
  return Ask(what, flags | SHGFI_SYSICONINDEX | SHGFI_SMALLICON, info) ? info.iIcon : -1;
}

std::u16string NameOf(const void* what, UINT flags) {
  SHFILEINFOW info;
  if (!Ask(what, flags | SHGFI_DISPLAYNAME, info)) return {};
  return reinterpret_cast<const char16_t*>(info.szDisplayName);
}

void TakeDocuments(FolderTreeShared& shared) {
  const ShellItem item = SpecialFolder(CSIDL_PERSONAL);
  if (!item) return;
  wchar_t path[MAX_PATH] = {};
  if (!SHGetPathFromIDListW(item.get(), path) || path[0] == 0) return;
  std::u16string folder = reinterpret_cast<const char16_t*>(path);
  // The first answer wins: the item, its parsing name, its path.
  int icon = IconOf(item.get(), SHGFI_PIDL);
  if (icon < 0) icon = IconOf(kDocumentsParsingName, 0);
  if (icon < 0) icon = IconOf(path, 0);
  std::u16string name = NameOf(item.get(), SHGFI_PIDL);
  if (name.empty()) name = NameOf(kDocumentsParsingName, 0);
  if (name.empty()) name = NameOf(path, 0);
  if (icon < 0 || name.empty()) return;
  if (folder.back() != u'\\') folder += u'\\';
  shared.documents_path = folder;
  shared.documents_icon = icon;
  shared.documents_label = name;
}

void TakeComputer(FolderTreeShared& shared) {
  const ShellItem item = SpecialFolder(CSIDL_DRIVES);
  const int icon = item ? IconOf(item.get(), SHGFI_PIDL) : IconOf(kComputerParsingName, 0);
  const std::u16string name = item ? NameOf(item.get(), SHGFI_PIDL) : NameOf(kComputerParsingName, 0);
  if (icon >= 0) shared.computer_icon = icon;
  if (!name.empty()) shared.computer_label = name;
}

std::unique_ptr<FolderTreeShared>& Made() {
  static std::unique_ptr<FolderTreeShared> shared;
  return shared;
}

}  // namespace

FolderTreeShared* FolderTreeSharedGet() { return Made().get(); }

FolderTreeShared* FolderTreeSharedTake() {
  std::unique_ptr<FolderTreeShared>& made = Made();
  if (made) return made.get();
  // The shell's items need COM on this thread; a second call only counts up.
  (void)CoInitialize(nullptr);
  wchar_t windows[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  SHFILEINFOW info = {};
  const auto images = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(windows, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  if (!images) return nullptr;
  auto shared = std::make_unique<FolderTreeShared>();
  shared->images = images;
  shared->folder_icon = info.iIcon;
  TakeDocuments(*shared);
  TakeComputer(*shared);
  made = std::move(shared);
  return made.get();
}

int ShellIcon(const std::u16string& path) { return IconOf(Wide(path), 0); }

std::u16string ShellDisplayName(const std::u16string& path) { return NameOf(Wide(path), 0); }

std::u16string DriveRoot(int64_t drive) { return std::u16string{static_cast<char16_t>(u'A' + drive), u':', u'\\'}; }

std::u16string DriveLabel(int64_t drive) {
  const std::u16string root = DriveRoot(drive);
  const std::u16string name = ShellDisplayName(root);
  return name.empty() ? root : name;
}
