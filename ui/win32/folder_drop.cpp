#include "ui/folder_drop.h"

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <vector>

#include "ui/events.h"
#include "ui/folder_drop_paths.h"
#include "ui/win32/window_access.h"

namespace {

struct DropTaker {
  int64_t window = 0;
  int64_t command = 0;
};

DropTaker g_taker;

std::vector<std::u16string> DroppedPaths(HDROP drop) {
  std::vector<std::u16string> paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::u16string path(DragQueryFileW(drop, i, nullptr, 0), u'\0');
    DragQueryFileW(drop, i, reinterpret_cast<wchar_t*>(path.data()), static_cast<UINT>(path.size() + 1));
    paths.push_back(std::move(path));
  }
  return paths;
}

LRESULT CALLBACK DropProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id, DWORD_PTR) {
  if (message == WM_NCDESTROY) RemoveWindowSubclass(window, DropProc, id);
  if (message != WM_DROPFILES) return DefSubclassProc(window, message, wparam, lparam);
  const auto drop = reinterpret_cast<HDROP>(wparam);
  std::u16string folder = FirstFolderOf(DroppedPaths(drop));
  DragFinish(drop);
  if (!folder.empty()) {
    FolderDropKeep(std::move(folder));
    EventPost(CommandEvent, g_taker.command, g_taker.window, 0);
  }
  return 0;
}

}  // namespace

void FolderDropAccept(int64_t window, int64_t command) {
  const HWND handle = WindowHandle(window);
  if (!handle) return;
  g_taker = {window, command};
  DragAcceptFiles(handle, TRUE);
  SetWindowSubclass(handle, DropProc, 0, 0);
}
