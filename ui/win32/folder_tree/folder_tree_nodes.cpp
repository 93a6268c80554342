#include "ui/folder_tree.h"
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

FolderReadRules FolderTreeRules(const FolderTreeState& state) {
  return FolderReadRulesFor(state.flags, state.patterns, u'\\');
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

void NodeEmpty(FolderTreeState& state, HTREEITEM node, int64_t parameter) {
  // A selection inside moves onto the node first, which the tree reports; the children
  // then go quietly. (Letting the tree view drop them as it closes can leave it holding
  // a selection that is gone.)
  if (NodeWithin(state.tree, FolderTreeSelected(state), node) && FolderTreeSelected(state) != node)
    SendMessageW(state.tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
  SendMessageW(state.tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(node));
  while (HTREEITEM child = NodeChild(state.tree, node)) NodeDelete(state, child);
  TVITEMW item = {};
  item.mask = TVIF_CHILDREN | TVIF_PARAM | TVIF_STATE | TVIF_HANDLE;
  item.hItem = node;
  item.cChildren = 1;
  item.lParam = static_cast<LPARAM>(parameter);
  item.stateMask = TVIS_EXPANDEDONCE;  // so that opening it asks to be filled again
  SendMessageW(state.tree, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

bool NodeIsOpen(HWND tree, HTREEITEM node) {
  return (SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(node), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

bool NodeWithin(HWND tree, HTREEITEM node, HTREEITEM outer) {
  for (; node; node = NodeParent(tree, node))
    if (node == outer) return true;
  return false;
}

void NodeChildrenSet(HWND tree, HTREEITEM node, bool children) {
  TVITEMW item = {};
  item.mask = TVIF_CHILDREN | TVIF_HANDLE;
  item.hItem = node;
  item.cChildren = children ? 1 : 0;
  SendMessageW(tree, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void NodeSelectQuietly(FolderTreeState& state, HTREEITEM node) {
  const Quiet quiet(state);
  SendMessageW(state.tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
}

HTREEITEM FolderTreeSelected(const FolderTreeState& state) { return Next(state.tree, nullptr, TVGN_CARET); }

std::u16string FolderTreePath(const FolderTreeState& state, HTREEITEM node) {
  const FolderTreeShared* shared = FolderTreeSharedGet();
  std::u16string path;
  for (; node && node != state.root; node = NodeParent(state.tree, node)) {
    const int64_t kind = NodeKind(NodeParameter(state.tree, node));
    if (kind == kNodeFolder)
      path = NodeText(state.tree, node) + u'\\' + path;
    else if (kind == kNodeDocuments)
      path = (shared ? shared->documents_path : std::u16string()) + path;
    else if (kind == kNodeFile)
      path = NodeText(state.tree, node);
    else if (IsDriveKind(kind))
      path = DriveRoot(kind) + path;
  }
  return path;
}
