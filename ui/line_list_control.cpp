// The line list's table of operations, over its window system's LineListView.
#include "ui/line_list_notify.h"
#include "ui/line_list_view.h"
#include "ui/list_slots.h"

namespace {

int64_t Selected(const LineListView& view) { return view.Selected(); }

std::u16string LineText(const LineListView& view, int64_t row, int64_t) {
  if (row < 0 || row >= view.Count()) return {};
  return view.Line(row);
}

int64_t AddLine(LineListView& view, int64_t position, const std::u16string& text) {
  // A position beyond the end appends, as -1 does.
  const int64_t count = view.Count();
  view.Insert(position < 0 || position > count ? count : position, text);
  return 0;
}

void Clear(LineListView& view) { view.Clear(); }

}  // namespace

const ControlOps kLineListOps =
    ListSlots<LineListView, Selected, LineText, AddLine, Clear>::Table(kLineListType, LineListNotify);

void LineListStart(ControlRecord& record, std::unique_ptr<LineListView> view) { record.state = std::move(view); }
