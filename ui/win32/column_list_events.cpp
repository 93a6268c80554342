#include "ui/win32/column_list_events.h"

#include <commctrl.h>

#include "ui/events.h"
#include "ui/win32/column_list_state.h"
#include "ui/win32/list_view_cells.h"

namespace {

// The row last selected; -1 once the list has reported that none is.
constexpr wchar_t kLastSelected[] = L"WK_LastSelected";
constexpr wchar_t kClickedColumn[] = L"WK_ClikedColumn";
// Set between the second press of a double-click and its release.
constexpr wchar_t kDoubleClick[] = L"WK_DoubleClick";
// Set from a drag's start until the next press: the release that ends a drag is no click.
constexpr wchar_t kDragged[] = L"WK_Dragged";

// The list view's own report of a row or column.
const NMLISTVIEW& Report(const ControlNotice& notice) { return *reinterpret_cast<const NMLISTVIEW*>(notice.native); }

void SetNumber(HWND list, const wchar_t* name, intptr_t value) {
  SetPropW(list, name, reinterpret_cast<HANDLE>(value));
}
intptr_t Number(HWND list, const wchar_t* name) { return reinterpret_cast<intptr_t>(GetPropW(list, name)); }

// With no row selected, the first report of that since a row was selected is a change
// of the selection. (A list that never had a property reads 0, as if row 0 had been
// selected.)
void EmptySelectionCheck(HWND list) {
  if (ListViewFirstSelected(list) >= 0 || Number(list, kLastSelected) == -1) return;
  SetNumber(list, kLastSelected, -1);
  ControlEventPost(list, DetailChange);
}

LRESULT CALLBACK WatchProc(HWND list, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id, DWORD_PTR) {
  switch (message) {
    case WM_LBUTTONDOWN:
      RemovePropW(list, kDoubleClick);
      RemovePropW(list, kDragged);
      break;
    case WM_LBUTTONDBLCLK:
      SetNumber(list, kDoubleClick, 1);
      break;
    case WM_LBUTTONUP:
      // A single click reports itself through the list view; the release that ends a
      // double-click is a plain button release.
      if (RemovePropW(list, kDoubleClick)) ControlEventPost(list, DetailLeftClick);
      break;
    case WM_SIZE: {
      const LRESULT result = DefSubclassProc(list, message, wparam, lparam);
      if (ControlRecord* record = ControlOf(list); record && record->state) ColumnListFillFirst(*record);
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(list, WatchProc, id);
      RemovePropW(list, kDoubleClick);
      RemovePropW(list, kDragged);
      break;
    default:
      break;
  }
  return DefSubclassProc(list, message, wparam, lparam);
}

}  // namespace

void ColumnListWatch(HWND list) { SetWindowSubclass(list, WatchProc, 0, 0); }

void ColumnListForget(HWND list) {
  RemovePropW(list, kLastSelected);
  RemovePropW(list, kClickedColumn);
}

int64_t ColumnListNotify(ControlRecord& record, NativeHandle control, const ControlNotice& notice) {
  if (notice.kind != NoticeKind::kNotify || !notice.native) return kNotHandled;
  switch (static_cast<UINT>(notice.code)) {
    case LVN_BEGINDRAG:
      SetNumber(control, kDragged, 1);
      ControlEventPost(control, DetailDragStart);
      return 0;
    case LVN_COLUMNCLICK:
      SetNumber(control, kClickedColumn, Report(notice).iSubItem);
      ControlEventPost(control, DetailColumnClick);
      ColumnListSortBy(record, Report(notice).iSubItem);
      return 0;
    case LVN_ITEMCHANGED: {
      // Only a change of the row's selection: focus, texts and other state come and
      // go without one.
      const NMLISTVIEW& changed = Report(notice);
      const bool was = changed.uOldState & LVIS_SELECTED, is = changed.uNewState & LVIS_SELECTED;
      if (!(changed.uChanged & LVIF_STATE) || was == is) return 0;
      if (is) SetNumber(control, kLastSelected, changed.iItem);
      ControlEventPost(control, DetailChange);
      return 0;
    }
    case NM_RDBLCLK:
      ControlEventPost(control, DetailRightDoubleClick);
      return 0;
    case NM_RCLICK:
      EmptySelectionCheck(control);
      ControlEventPost(control, DetailRightClick);
      return 0;
    case NM_DBLCLK:
      ControlEventPost(control, DetailLeftDoubleClick);
      return 0;
    case NM_RETURN:
      // Enter on a selected row opens it as a double-click does.
      if (ListViewFirstSelected(control) >= 0) ControlEventPost(control, DetailLeftDoubleClick);
      return 0;
    case NM_CLICK:
      EmptySelectionCheck(control);
      if (!RemovePropW(control, kDragged) && ListViewFirstSelected(control) >= 0)
        ControlEventPost(control, DetailLeftClick);
      return 0;
    default:
      return kNotHandled;
  }
}
