#include "ui/folder_tree.h"

#include <windowsx.h>

#include "ui/events.h"
#include "ui/win32/control_create.h"
#include "ui/win32/folder_tree/folder_tree_items.h"
#include "ui/win32/folder_tree/folder_tree_shared.h"

namespace {

constexpr UINT_PTR kTreeSubclass = 1;

// The tree keeps the shell's list of small icons; nothing the tree does may leave it
// with another.
void ImagesEnsure(HWND tree) {
  const HIMAGELIST images = FolderTreeSharedGet()->images;
  if (reinterpret_cast<HIMAGELIST>(SendMessageW(tree, TVM_GETIMAGELIST, TVSIL_NORMAL, 0)) != images)
    SendMessageW(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
}

void SetText(ControlRecord& record, const std::u16string& path) {
  FolderTreeOps().set_text(record, path);
  ImagesEnsure(record.handle);
}

void Release(ControlRecord& record) {
  FolderTreeOps().release(record);
  // The shell's list outlives every tree: the tree must not take it along.
  const HWND tree = record.handle;
  if (IsWindow(tree) && FolderTreeSharedGet() &&
      reinterpret_cast<HIMAGELIST>(SendMessageW(tree, TVM_GETIMAGELIST, TVSIL_NORMAL, 0)) ==
          FolderTreeSharedGet()->images)
    SendMessageW(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
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

int64_t Notify(FolderTree& model, HWND tree, const NMHDR& header) {
  switch (header.code) {
    case NM_CLICK:
      ControlEventPost(tree, DetailLeftClick);
      break;
    case NM_RCLICK:
      if (const HTREEITEM node = NodeAtPointer(tree))
        SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
      ControlEventPost(tree, DetailRightClick);
      break;
    case NM_DBLCLK:
      ControlEventPost(tree, DetailLeftDoubleClick);
      break;
    case TVN_SELCHANGEDW:
      FolderTreeSelectionChanged(model);
      break;
    case TVN_BEGINDRAGW: {
      const auto& drag = reinterpret_cast<const NMTREEVIEWW&>(header);
      SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(drag.itemNew.hItem));
      ControlEventPost(tree, DetailDragStart);
      break;
    }
    case TVN_ITEMEXPANDINGW: {
      const auto& expanding = reinterpret_cast<const NMTREEVIEWW&>(header);
      if (!(expanding.action & TVE_EXPAND)) {
        // Before the tree view would move the selection without a word.
        FolderTreeClosing(model, expanding.itemNew.hItem);
        break;
      }
      const bool filled = FolderTreeOpening(model, expanding.itemNew.hItem);
      ImagesEnsure(tree);
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
  FolderTree* model = FolderTreeOf(record);
  const auto* header = reinterpret_cast<const NMHDR*>(notice.native);
  if (!model || notice.kind != NoticeKind::kNotify || !header) return kNotHandled;
  return Notify(*model, record.handle, *header);
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
  ControlOps ops = FolderTreeOps();
  ops.notify = NotifyRoutine;
  ops.release = Release;
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

  auto model = std::make_unique<FolderTree>(std::make_unique<SystemTreeView>(tree), flags, false);
  FolderTree& kept = *model;
  created.record->state = std::move(model);
  FolderTreeStart(kept, initial_path);
  ImagesEnsure(tree);
  return created.result;
}
