#include "ui/folder_follow.h"

#include <windows.h>

#include "ui/events.h"

namespace {

// How often the folder's change notification is looked at.
constexpr UINT kCheckMs = 200;

struct Follower {
  HANDLE change = INVALID_HANDLE_VALUE;
  UINT_PTR timer = 0;
  int64_t window = 0;
  int64_t command = 0;
};

Follower g_follower;

void CALLBACK CheckFolder(HWND, UINT, UINT_PTR, DWORD) {
  if (g_follower.change == INVALID_HANDLE_VALUE || WaitForSingleObject(g_follower.change, 0) != WAIT_OBJECT_0) return;
  FindNextChangeNotification(g_follower.change);
  EventPost(CommandEvent, g_follower.command, g_follower.window, 0);
}

}  // namespace

void FolderFollow(int64_t window, const std::u16string& folder, int64_t command) {
  if (g_follower.timer) KillTimer(nullptr, g_follower.timer);
  if (g_follower.change != INVALID_HANDLE_VALUE) FindCloseChangeNotification(g_follower.change);
  g_follower = {};
  if (folder.empty()) return;
  const HANDLE change = FindFirstChangeNotificationW(
      reinterpret_cast<const wchar_t*>(folder.c_str()), FALSE,
      FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE);
  if (change == INVALID_HANDLE_VALUE) return;
  g_follower = {change, SetTimer(nullptr, 0, kCheckMs, CheckFolder), window, command};
}
