// What a column list's reports mean: the events they post and the window properties
// they keep.
#include <utility>

#include "ui/column_list_control.h"
#include "ui/events.h"

namespace {

// With no row selected, the first report of that since a row was selected is a change
// of the selection. (A list that never had the property reads 0, as if row 0 had been
// selected.)
void EmptySelectionCheck(ColumnListView& view, std::vector<int64_t>& details) {
  if (view.FirstSelected() >= 0 || view.Mark(ColumnListMark::kLastSelected) == -1) return;
  view.SetMark(ColumnListMark::kLastSelected, -1);
  details.push_back(DetailChange);
}

}  // namespace

std::optional<std::vector<int64_t>> ColumnListReact(ColumnListControl& list, const ControlNotice& report) {
  ColumnListView& view = *list.view;
  const ControlNotice notice = view.Read(report);
  if (notice.kind != NoticeKind::kNotify) return std::nullopt;
  std::vector<int64_t> details;
  switch (notice.code) {
    case kListPress:
      list.dragged = false;
      break;
    case kListBeginDrag:
      list.dragged = true;
      details.push_back(DetailDragStart);
      break;
    case kListColumnClick:
      view.SetMark(ColumnListMark::kClickedColumn, notice.item);
      details.push_back(DetailColumnClick);
      if (notice.item >= 0 && notice.item <= INT32_MAX) ColumnListSortBy(list, static_cast<int>(notice.item));
      break;
    case kListItemChanged:
      if (notice.new_selected) view.SetMark(ColumnListMark::kLastSelected, notice.item);
      if (notice.new_selected || notice.old_selected) details.push_back(DetailChange);
      break;
    case kListRightDoubleClick:
      details.push_back(DetailRightDoubleClick);
      break;
    case kListRightClick:
      EmptySelectionCheck(view, details);
      details.push_back(DetailRightClick);
      break;
    case kListDoubleClick:
      details.push_back(DetailLeftDoubleClick);
      break;
    case kListReturn:
      // Enter on a selected row opens it as a double-click does.
      if (view.FirstSelected() >= 0) details.push_back(DetailLeftDoubleClick);
      break;
    case kListClick: {
      EmptySelectionCheck(view, details);
      // The release that ends a drag is no click.
      const bool after_drag = std::exchange(list.dragged, false);
      if (!after_drag && view.FirstSelected() >= 0) details.push_back(DetailLeftClick);
      break;
    }
    default:
      return std::nullopt;
  }
  return details;
}
