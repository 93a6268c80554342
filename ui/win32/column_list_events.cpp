#include "ui/win32/column_list_events.h"

#include <commctrl.h>

#include "ui/events.h"

namespace {

// Set between the second press of a double-click and its release.
constexpr wchar_t kDoubleClick[] = L"WK_DoubleClick";

LRESULT CALLBACK WatchProc(HWND list, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id, DWORD_PTR) {
  switch (message) {
    case WM_LBUTTONDOWN:
      RemovePropW(list, kDoubleClick);
      ControlNotify(list, {NoticeKind::kNotify, kListPress});
      break;
    case WM_LBUTTONDBLCLK:
      SetPropW(list, kDoubleClick, reinterpret_cast<HANDLE>(1));
      break;
    case WM_LBUTTONUP:
      // A single click reports itself through the list view; the release that ends a
      // double-click is a plain button release.
      if (RemovePropW(list, kDoubleClick)) ControlEventPost(list, DetailLeftClick);
      break;
    case WM_SIZE: {
      const LRESULT result = DefSubclassProc(list, message, wparam, lparam);
      ColumnListFillFirst(list);
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(list, WatchProc, id);
      RemovePropW(list, kDoubleClick);
      RemovePropW(list, ColumnListMarkName(ColumnListMark::kLastSelected));
      RemovePropW(list, ColumnListMarkName(ColumnListMark::kClickedColumn));
      break;
    default:
      break;
  }
  return DefSubclassProc(list, message, wparam, lparam);
}

}  // namespace

const wchar_t* ColumnListMarkName(ColumnListMark mark) {
  return mark == ColumnListMark::kLastSelected ? L"WK_LastSelected" : L"WK_ClikedColumn";
}

void ColumnListWatch(HWND list) { SetWindowSubclass(list, WatchProc, 0, 0); }

ControlNotice ColumnListReport(const ControlNotice& notice) {
  if (notice.kind != NoticeKind::kNotify || !notice.native) return notice;
  ControlNotice read = notice;
  const auto& report = *reinterpret_cast<const NMLISTVIEW*>(notice.native);
  switch (notice.code) {
    case kListBeginDrag:
      read.item = report.iItem;
      break;
    case kListColumnClick:
      read.item = report.iSubItem;
      break;
    case kListItemChanged: {
      // Only a change of the row's selection counts: focus, texts and other state come
      // and go without one.
      const bool was = report.uOldState & LVIS_SELECTED, is = report.uNewState & LVIS_SELECTED;
      const bool changed = (report.uChanged & LVIF_STATE) && was != is;
      read.item = report.iItem;
      read.old_selected = changed && was;
      read.new_selected = changed && is;
      break;
    }
    default:
      break;
  }
  return read;
}
