#include <windows.h>

#include <shellapi.h>

#include "fs/win32/quiet_errors.h"
#include "ui/win32/dialog_template.h"
#include "ui/win32/folder_tree/folder_tree_items.h"
#include "ui/win32/folder_tree/folder_tree_shared.h"
#include "ui/win32/window_placement.h"

namespace {

constexpr WORD kTextItem = 12291;
constexpr WORD kIconItem = 12297;

// The notice's end however it comes (its button, its close box, its owner going, the
// tree closing it): its icon goes, its tree forgets it and can be used again.
void NoticeGone(HWND notice) {
  const auto icon = reinterpret_cast<HICON>(SendDlgItemMessageW(notice, kIconItem, STM_GETIMAGE, IMAGE_ICON, 0));
  if (icon) DestroyIcon(icon);
  const auto tree = reinterpret_cast<HWND>(GetWindowLongPtrW(notice, DWLP_USER));
  if (!IsWindow(tree)) return;
  EnableWindow(tree, TRUE);
  FolderTree* model = FolderTreeOf(tree);
  auto* view = model ? static_cast<SystemTreeView*>(model->view.get()) : nullptr;
  if (view && view->notice == notice) {
    view->notice = nullptr;
    FolderTreeNoticeGone(*model);
  }
}

INT_PTR CALLBACK NoticeProc(HWND notice, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrW(notice, DWLP_USER, static_cast<LONG_PTR>(lparam));
      EnableWindow(reinterpret_cast<HWND>(lparam), FALSE);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wparam) != IDCANCEL && LOWORD(wparam) != IDOK) return FALSE;
      DestroyWindow(notice);
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(notice);
      return TRUE;
    case WM_DESTROY:
      NoticeGone(notice);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

bool SystemTreeView::NoticeShow(int64_t drive, const std::u16string& title, const std::u16string& text) {
  DialogTemplate dialog(DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 230, 70, title, 3);
  dialog.Item(SS_ICON, 7, 7, 21, 20, kIconItem, kDialogStaticClass, u"");
  dialog.Item(SS_LEFT, 36, 7, 187, 36, kTextItem, kDialogStaticClass, text);
  dialog.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 173, 49, 50, 14, IDCANCEL, kDialogButtonClass, u"Cancel");
  const HWND owner = GetAncestor(tree, GA_ROOT);
  notice = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialog.Get(), owner, NoticeProc,
                                      reinterpret_cast<LPARAM>(tree));
  if (!notice) return false;
  const std::u16string root = DriveRoot(drive);
  SHFILEINFOW info = {};
  const QuietErrors quiet;
  if (SHGetFileInfoW(reinterpret_cast<const wchar_t*>(root.c_str()), 0, &info, sizeof info, SHGFI_ICON))
    SendDlgItemMessageW(notice, kIconItem, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(info.hIcon));
  // Over the tree's window, where the user looks.
  RECT window = {}, box = {};
  GetWindowRect(owner, &window);
  GetWindowRect(notice, &box);
  const POINT at = WindowCentred(window, {box.right - box.left, box.bottom - box.top});
  SetWindowPos(notice, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(notice, SW_SHOWNORMAL);
  return true;
}

void SystemTreeView::NoticeHide() {
  if (notice) DestroyWindow(notice);
  notice = nullptr;
}
