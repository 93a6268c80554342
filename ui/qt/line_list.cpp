#include "ui/line_list.h"

#include "ui/line_list_notify.h"
#include "ui/qt/control_create.h"
#include "ui/qt/line_list_widget.h"
#include "ui/qt/list_selection.h"

namespace {

LineListWidget& List(ControlRecord& record) { return static_cast<LineListWidget&>(*record.handle); }

int64_t AddItem(ControlRecord& record, int64_t position, const std::u16string& text, int64_t) {
  LineListWidget& list = List(record);
  const int64_t count = list.count();
  if (position < 0 || position > count) position = count;
  const QString line = QString::fromStdU16String(text);
  list.insertItem(static_cast<int>(position), line);
  list.LinesAdded({line});
  return 0;
}

void ClearItems(ControlRecord& record) {
  List(record).clear();
  List(record).LinesCleared();
}

std::u16string GetItemText(ControlRecord& record, int64_t row, int64_t) {
  LineListWidget& list = List(record);
  if (row < 0 || row >= list.count()) return {};
  return list.item(static_cast<int>(row))->text().toStdU16String();
}

int64_t GetState(ControlRecord& record) { return FirstSelectedRow(List(record)); }

std::u16string GetText(ControlRecord& record) { return GetItemText(record, GetState(record), 0); }

const ControlOps kLineListOps{
    .type_id = kLineListType,
    .notify = LineListNotify,
    .get_state = GetState,
    .get_text = GetText,
    .add_item = AddItem,
    .clear_items = ClearItems,
    .get_item_text = GetItemText,
};

}  // namespace

int64_t LineListCreate(int64_t number, int64_t x, int64_t y, int64_t width, int64_t height, uint32_t flags) {
  QWidget* container = ControlContainer();
  if (!container) return 0;
  auto* list = new LineListWidget(container, flags);
  const CreatedControl created = ControlCreate(number, list, x, y, width, height, kLineListOps);
  if (!created.record) return 0;
  return created.result;
}
