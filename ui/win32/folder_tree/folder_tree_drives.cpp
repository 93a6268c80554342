#include <windows.h>

#include <dbt.h>

#include "fs/win32/quiet_errors.h"
#include "ui/win32/folder_tree/folder_tree_shared.h"
#include "ui/win32/folder_tree/folder_tree_state.h"

namespace {

constexpr UINT_PTR kDriveSubclass = 2;

// The window that hears of drive changes for every folder tree; null for none.
HWND g_watcher = nullptr;

constexpr uint32_t Bit(int64_t drive) { return uint32_t{1} << drive; }

void ForEachTree(void (*apply)(FolderTreeState&, uint32_t), uint32_t units) {
  ControlForEach([&](ControlRecord& record) {
    FolderTreeState* state = FolderTreeStateOf(record);
    if (state && state->root) apply(*state, units);
  });
}

LRESULT CALLBACK WatcherProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
  if (message == WM_DEVICECHANGE && (wparam == DBT_DEVICEARRIVAL || wparam == DBT_DEVICEREMOVECOMPLETE) &&
      lparam != 0 && reinterpret_cast<const DEV_BROADCAST_HDR*>(lparam)->dbch_devicetype == DBT_DEVTYP_VOLUME) {
    const uint32_t units = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(lparam)->dbcv_unitmask;
    ForEachTree(wparam == DBT_DEVICEARRIVAL ? DrivesArrived : DrivesRemoved, units);
  } else if (message == WM_DESTROY) {
    // The next tree made takes a window of its own.
    if (g_watcher == window) g_watcher = nullptr;
    RemoveWindowSubclass(window, WatcherProc, kDriveSubclass);
  }
  return DefSubclassProc(window, message, wparam, lparam);
}

}  // namespace

void FolderTreesWatchDrives(HWND window) {
  if (g_watcher) return;
  const HWND top = GetAncestor(window, GA_ROOT);
  if (top && SetWindowSubclass(top, WatcherProc, kDriveSubclass, 0)) g_watcher = top;
}

void DriveNodeAdd(FolderTreeState& state, int64_t drive) {
  const QuietErrors quiet;
  NodeAdd(state.tree, state.root, TVI_LAST, DriveLabel(drive), ShellIcon(DriveRoot(drive)), true, drive);
}

void DriveNodeRefresh(FolderTreeState& state, HTREEITEM node, int64_t drive) {
  NodeEmpty(state, node, drive);
  const QuietErrors quiet;
  const std::u16string label = DriveLabel(drive);
  TVITEMW item = {};
  item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
  item.hItem = node;
  item.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(label.c_str()));
  item.iImage = item.iSelectedImage = ShellIcon(DriveRoot(drive));
  SendMessageW(state.tree, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void DrivesRemoved(FolderTreeState& state, uint32_t units) {
  const DWORD present = GetLogicalDrives();
  for (HTREEITEM node = NodeChild(state.tree, state.root); node;) {
    const HTREEITEM next = NodeNext(state.tree, node);
    const int64_t drive = NodeKind(NodeParameter(state.tree, node));
    if (IsDriveKind(drive)) {
      if (!(present & Bit(drive))) {
        if (NodeWithin(state.tree, FolderTreeSelected(state), node))
          SendMessageW(state.tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(state.root));
        NodeDelete(state, node);
      } else if (units & Bit(drive)) {
        DriveNodeRefresh(state, node, drive);
      }
    }
    node = next;
  }
}

void DrivesArrived(FolderTreeState& state, uint32_t units) {
  if (state.notice && state.notice_drive >= 0 && (units & Bit(state.notice_drive))) NoticeClose(state);
  uint32_t missing = GetLogicalDrives();
  for (HTREEITEM node = NodeChild(state.tree, state.root); node; node = NodeNext(state.tree, node)) {
    const int64_t drive = NodeKind(NodeParameter(state.tree, node));
    if (!IsDriveKind(drive)) continue;
    if (units & Bit(drive)) DriveNodeRefresh(state, node, drive);
    missing &= ~Bit(drive);
  }
  for (int64_t drive = 0; drive < kTreeDrives; ++drive)
    if (missing & Bit(drive)) DriveNodeAdd(state, drive);
}
