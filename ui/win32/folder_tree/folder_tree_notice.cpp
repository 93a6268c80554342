#include <windows.h>

#include <shellapi.h>

#include <vector>

#include "fs/win32/quiet_errors.h"
#include "ui/win32/folder_tree/folder_tree_items.h"
#include "ui/win32/folder_tree/folder_tree_shared.h"
#include "ui/win32/window_placement.h"

namespace {

constexpr WORD kTextItem = 12291;
constexpr WORD kIconItem = 12297;
constexpr WORD kStaticClass = 0x0082;
constexpr WORD kButtonClass = 0x0080;

// A dialog template in memory: the notice needs no resource of the program's.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, short width, short height, const std::u16string& title, WORD items) {
    Dword(style);
    Dword(0);
    words_.push_back(items);
    Box(0, 0, width, height);
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the standard class
    Text(title);
    words_.push_back(8);  // the font's size in points
    Text(u"MS Shell Dlg");
  }

  void Item(DWORD style, short x, short y, short width, short height, WORD id, WORD type, const std::u16string& text) {
    if (words_.size() % 2) words_.push_back(0);  // items start on a DWORD
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    Box(x, y, width, height);
    words_.push_back(id);
    words_.push_back(0xFFFF);
    words_.push_back(type);
    Text(text);
    words_.push_back(0);  // no creation data
  }

  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Dword(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
  }
  void Box(short x, short y, short width, short height) {
    for (short value : {x, y, width, height}) words_.push_back(static_cast<WORD>(value));
  }
  void Text(const std::u16string& text) {
    words_.insert(words_.end(), text.begin(), text.end());
    words_.push_back(0);
  }

  std::vector<WORD> words_;
};

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
  dialog.Item(SS_ICON, 7, 7, 21, 20, kIconItem, kStaticClass, u"");
  dialog.Item(SS_LEFT, 36, 7, 187, 36, kTextItem, kStaticClass, text);
  dialog.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 173, 49, 50, 14, IDCANCEL, kButtonClass, u"Cancel");
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
