#include "ui/folder_tree.h"

#include <windowsx.h>

#include "ui/control_register.h"
#include "ui/events.h"
#include "ui/folder_tree_system_nodes.h"
#include "ui/win32/control_create.h"
#include "ui/win32/folder_tree/folder_tree_shared.h"
#include "ui/win32/folder_tree/folder_tree_state.h"

namespace {

constexpr UINT_PTR kTreeSubclass = 1;

// The tree keeps the shell's list of small icons; nothing the tree does may leave it
// with another.
void ImagesEnsure(const FolderTreeState& state) {
  const HIMAGELIST images = FolderTreeSharedGet()->images;
  if (reinterpret_cast<HIMAGELIST>(SendMessageW(state.tree, TVM_GETIMAGELIST, TVSIL_NORMAL, 0)) != images)
    SendMessageW(state.tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
}

void Navigate(FolderTreeState& state, const std::u16string& path) {
  SystemTreeNodes nodes(state);
  // The separator alone names no folder here: it rebuilds, as the empty text does.
  FolderTreeTextSet(nodes, path == u"\\" ? u"" : path);
  ImagesEnsure(state);
}

std::u16string GetText(ControlRecord& record) {
  FolderTreeState* state = FolderTreeStateOf(record);
  return state ? FolderTreeSelectedPath(SystemTreeNodes(*state)) : std::u16string();
}

int64_t GetState(ControlRecord& record) {
  FolderTreeState* state = FolderTreeStateOf(record);
  return state ? FolderTreeSelectedState(SystemTreeNodes(*state)) : 0;
}

void SetText(ControlRecord& record, const std::u16string& path) {
  if (FolderTreeState* state = FolderTreeStateOf(record)) Navigate(*state, path);
}

void Release(ControlRecord& record) {
  FolderTreeState* state = FolderTreeStateOf(record);
  if (!state) return;
  NoticeClose(*state);
  // The shell's list outlives every tree: the tree must not take it along.
  if (IsWindow(state->tree) && FolderTreeSharedGet() &&
      reinterpret_cast<HIMAGELIST>(SendMessageW(state->tree, TVM_GETIMAGELIST, TVSIL_NORMAL, 0)) ==
          FolderTreeSharedGet()->images)
    SendMessageW(state->tree, TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
}

// The node under the pointer of the message being handled; null for none.
HTREEITEM NodeAtPointer(HWND tree) {
  const DWORD at = GetMessagePos();
  TVHITTESTINFO hit = {};
  hit.pt = {GET_X_LPARAM(at), GET_Y_LPARAM(at)};
  ScreenToClient(tree, &hit.pt);
  const auto node = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  return hit.flags & TVHT_ONITEM ? node : nullptr;
}

int64_t Notify(FolderTreeState& state, const NMHDR& header) {
  switch (header.code) {
    case NM_CLICK:
      ControlEventPost(state.tree, DetailLeftClick);
      break;
    case NM_RCLICK:
      if (const HTREEITEM node = NodeAtPointer(state.tree))
        SendMessageW(state.tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
      ControlEventPost(state.tree, DetailRightClick);
      break;
    case NM_DBLCLK:
      ControlEventPost(state.tree, DetailLeftDoubleClick);
      break;
    case TVN_SELCHANGEDW:
      if (!state.quiet) ControlEventPost(state.tree, DetailChange);
      break;
    case TVN_BEGINDRAGW: {
      const auto& drag = reinterpret_cast<const NMTREEVIEWW&>(header);
      SendMessageW(state.tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(drag.itemNew.hItem));
      ControlEventPost(state.tree, DetailDragStart);
      break;
    }
    case TVN_ITEMEXPANDINGW: {
      const auto& expanding = reinterpret_cast<const NMTREEVIEWW&>(header);
      const HTREEITEM node = expanding.itemNew.hItem;
      SystemTreeNodes nodes(state);
      if (!(expanding.action & TVE_EXPAND)) {
        // Before the tree view would move the selection without a word.
        FolderTreeClosing(nodes, node);
        break;
      }
      const bool filled = FolderTreeFill(nodes, node);
      ImagesEnsure(state);
      // A node that could not be filled stays closed with its button: opening it again
      // tries again.
      if (!filled) return TRUE;
      break;
    }
    default:
      break;
  }
  return kNotHandled;
}

int64_t NotifyRoutine(ControlRecord& record, NativeHandle, const ControlNotice& notice) {
  FolderTreeState* state = FolderTreeStateOf(record);
  const auto* header = reinterpret_cast<const NMHDR*>(notice.native);
  if (!state || notice.kind != NoticeKind::kNotify || !header) return kNotHandled;
  return Notify(*state, *header);
}

LRESULT CALLBACK TreeProc(HWND tree, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
  if (message == WM_RBUTTONDBLCLK) {
    ControlEventPost(tree, DetailRightDoubleClick);
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(tree, TreeProc, kTreeSubclass);
  }
  return DefSubclassProc(tree, message, wparam, lparam);
}

const ControlOps kFolderTreeOps = [] {
  ControlOps ops;
  ops.type_id = kFolderTreeType;
  ops.notify = NotifyRoutine;
  ops.release = Release;
  ops.get_state = GetState;
  ops.get_text = GetText;
  ops.set_text = SetText;
  return ops;
}();

}  // namespace

int64_t FolderTreeCreate(int64_t number, int64_t x, int64_t y, int64_t width, int64_t height,
                         const std::u16string& initial_path, uint32_t flags) {
  const HWND container = ControlContainer();
  if (!container || !FolderTreeSharedTake()) return 0;
  FolderTreesWatchDrives(container);

  DWORD style = WS_VISIBLE | WS_TABSTOP | (flags & kFolderTreeShowSelectionAlways);
  if (!(flags & kFolderTreeNoLines)) style |= TVS_HASLINES;
  if (!(flags & kFolderTreeNoButtons)) style |= TVS_HASBUTTONS;
  const DWORD extended = flags & kFolderTreeNoEdge ? 0 : WS_EX_CLIENTEDGE;
  const CreatedControl created =
      ControlCreate(number, {WC_TREEVIEWW, style, extended, u""}, x, y, width, height, kFolderTreeOps);
  if (!created.record) return 0;
  const HWND tree = created.record->handle;
  SendMessageW(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(FolderTreeSharedGet()->images));
  SendMessageW(tree, TVM_SETEXTENDEDSTYLE, TVS_EX_DOUBLEBUFFER, TVS_EX_DOUBLEBUFFER);
  SetWindowSubclass(tree, TreeProc, kTreeSubclass, 0);

  auto state = std::make_unique<FolderTreeState>();
  state->tree = tree;
  state->flags = flags;
  FolderTreeState& kept = *state;
  created.record->state = std::move(state);

  Navigate(kept, u"");
  Navigate(kept, initial_path);
  return created.result;
}

void FolderTreeRefresh(int64_t number) {
  ControlRecord* record = ControlFind(number);
  FolderTreeState* state = record ? FolderTreeStateOf(*record) : nullptr;
  if (!state) return;
  SystemTreeNodes nodes(*state);
  FolderTreeDrivesGone(nodes, 0);
  FolderTreeDrivesArrived(nodes, 0);
  FolderTreeRefreshOpen(nodes);
}
