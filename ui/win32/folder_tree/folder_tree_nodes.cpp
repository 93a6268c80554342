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

HTREEITEM Next(HWND tree, HTREEITEM node, WPARAM how) {
  return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(node)));
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

HTREEITEM NodeChild(HWND tree, HTREEITEM node) { return Next(tree, node, TVGN_CHILD); }
HTREEITEM NodeNext(HWND tree, HTREEITEM node) { return Next(tree, node, TVGN_NEXT); }
HTREEITEM NodeParent(HWND tree, HTREEITEM node) { return Next(tree, node, TVGN_PARENT); }

int64_t NodeParameter(HWND tree, HTREEITEM node) {
  TVITEMW item = {};
  item.mask = TVIF_PARAM | TVIF_HANDLE;
  item.hItem = node;
  if (!SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return 0;
  return static_cast<int64_t>(item.lParam);
}

void NodeParameterSet(HWND tree, HTREEITEM node, int64_t parameter) {
  TVITEMW item = {};
  item.mask = TVIF_PARAM | TVIF_HANDLE;
  item.hItem = node;
  item.lParam = static_cast<LPARAM>(parameter);
  SendMessageW(tree, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

std::u16string NodeText(HWND tree, HTREEITEM node) {
  wchar_t text[kNodeTextRoom] = {};
  TVITEMW item = {};
  item.mask = TVIF_TEXT | TVIF_HANDLE;
  item.hItem = node;
  item.pszText = text;
  item.cchTextMax = kNodeTextRoom;
  if (!SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return {};
  return reinterpret_cast<const char16_t*>(item.pszText);
}

HTREEITEM NodeAdd(HWND tree, HTREEITEM parent, HTREEITEM after, const std::u16string& text, int image, bool children,
                  int64_t parameter) {
  TVINSERTSTRUCTW insert = {};
  insert.hParent = parent;
  insert.hInsertAfter = after;
  TVITEMW& item = insert.item;
  item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_PARAM;
  item.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(text.c_str()));
  item.iImage = item.iSelectedImage = image;
  item.cChildren = children ? 1 : 0;
  item.lParam = static_cast<LPARAM>(parameter);
  return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

void NodeDelete(FolderTreeState& state, HTREEITEM node) {
  const Quiet quiet(state);
  SendMessageW(state.tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node));
}

void NodeSelectQuietly(FolderTreeState& state, HTREEITEM node) {
  const Quiet quiet(state);
  SendMessageW(state.tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
}

HTREEITEM FolderTreeSelected(const FolderTreeState& state) { return Next(state.tree, nullptr, TVGN_CARET); }
