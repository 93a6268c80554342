#include <windows.h>

#include <dbt.h>

#include "ui/win32/folder_tree/folder_tree_items.h"

namespace {

constexpr UINT_PTR kDriveSubclass = 2;

// The window that hears of drive changes for every folder tree; null for none.
HWND g_watcher = nullptr;

LRESULT CALLBACK WatcherProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
  if (message == WM_DEVICECHANGE && (wparam == DBT_DEVICEARRIVAL || wparam == DBT_DEVICEREMOVECOMPLETE) &&
      lparam != 0 && reinterpret_cast<const DEV_BROADCAST_HDR*>(lparam)->dbch_devicetype == DBT_DEVTYP_VOLUME) {
    const uint32_t units = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(lparam)->dbcv_unitmask;
    if (wparam == DBT_DEVICEARRIVAL)
      FolderTreesDrivesChanged(0, units);
    else
      FolderTreesDrivesChanged(units, 0);
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
