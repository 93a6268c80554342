#include "ui/controls.h"

#include "ui/control_register.h"
#include "ui/events.h"
#include "ui/native_hooks.h"

std::u16string ControlGetText(int64_t number) {
  ControlRecord* record = ControlFind(number);
  if (!record) return {};
  if (record->ops->get_text) return record->ops->get_text(*record);
  return NativeText(record->handle);
}

int64_t ControlGetState(int64_t number) {
  ControlRecord* record = ControlFind(number);
  return record && record->ops->get_state ? record->ops->get_state(*record) : 0;
}

std::u16string ControlItemText(int64_t number, int64_t row, int64_t column) {
  ControlRecord* record = ControlFind(number);
  if (!record || !record->ops->get_item_text) return {};
  return record->ops->get_item_text(*record, row, column);
}

int64_t ControlAddItem(int64_t number, int64_t position, const std::u16string& text) {
  ControlRecord* record = ControlFind(number);
  if (!record) return 0;
  const EventSuppression quiet;
  if (record->ops->add_item_with_image) return record->ops->add_item_with_image(*record, position, text, 0, 0);
  if (record->ops->add_item) return record->ops->add_item(*record, position, text, 0);
  return 0;
}

void ControlClearItems(int64_t number) {
  ControlRecord* record = ControlFind(number);
  if (!record || !record->ops->clear_items) return;
  const EventSuppression quiet;
  record->ops->clear_items(*record);
}

void ControlAddColumn(int64_t number, int64_t position, const std::u16string& title, int64_t width) {
  ControlRecord* record = ControlFind(number);
  if (record && record->ops->add_column) record->ops->add_column(*record, position, title, width);
}

void ControlSetAccessibleName(int64_t number, const std::u16string& name) {
  if (ControlRecord* record = ControlFind(number)) NativeSetAccessibleName(record->handle, name);
}
