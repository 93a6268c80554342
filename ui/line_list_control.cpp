// The line list's table of operations, over its window system's LineListView.
#include "ui/line_list_notify.h"
#include "ui/line_list_view.h"

namespace {

LineListView* View(ControlRecord& record) { return static_cast<LineListView*>(record.state.get()); }

int64_t AddItem(ControlRecord& record, int64_t position, const std::u16string& text, int64_t) {
  LineListView* view = View(record);
  if (!view) return 0;
  // A position beyond the end appends, as -1 does.
  const int64_t count = view->Count();
  view->Insert(position < 0 || position > count ? count : position, text);
  return 0;
}

void ClearItems(ControlRecord& record) {
  if (LineListView* view = View(record)) view->Clear();
}

std::u16string GetItemText(ControlRecord& record, int64_t row, int64_t) {
  const LineListView* view = View(record);
  if (!view || row < 0 || row >= view->Count()) return {};
  return view->Line(row);
}

int64_t GetState(ControlRecord& record) { return View(record) ? View(record)->Selected() : -1; }

std::u16string GetText(ControlRecord& record) { return GetItemText(record, GetState(record), 0); }

}  // namespace

const ControlOps kLineListOps{
    .type_id = kLineListType,
    .notify = LineListNotify,
    .get_state = GetState,
    .get_text = GetText,
    .add_item = AddItem,
    .clear_items = ClearItems,
    .get_item_text = GetItemText,
};

void LineListStart(ControlRecord& record, std::unique_ptr<LineListView> view) { record.state = std::move(view); }
