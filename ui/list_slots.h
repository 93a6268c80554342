#pragma once
// The slots of a list type's table of operations that every list fills alike, over the
// state its record keeps and four operations on that state. A record with no state yet
// (its control still being made) answers as an empty list.
#include <cstdint>
#include <string>

#include "ui/control_register.h"

template <typename State, int64_t (*kSelected)(const State&),
          std::u16string (*kCellText)(const State&, int64_t row, int64_t column),
          int64_t (*kAddRow)(State&, int64_t position, const std::u16string& text), void (*kClear)(State&)>
struct ListSlots {
  static State* Of(ControlRecord& record) { return static_cast<State*>(record.state.get()); }

  static int64_t GetState(ControlRecord& record) { return Of(record) ? kSelected(*Of(record)) : -1; }
  static std::u16string GetItemText(ControlRecord& record, int64_t row, int64_t column) {
    return Of(record) ? kCellText(*Of(record), row, column) : std::u16string();
  }
  // The first cell of the selected row.
  static std::u16string GetText(ControlRecord& record) {
    const int64_t row = GetState(record);
    return row < 0 ? std::u16string() : GetItemText(record, row, 0);
  }
  static int64_t AddItem(ControlRecord& record, int64_t position, const std::u16string& text, int64_t) {
    return Of(record) ? kAddRow(*Of(record), position, text) : 0;
  }
  static void ClearItems(ControlRecord& record) {
    if (Of(record)) kClear(*Of(record));
  }

  // The table with these slots and the type's own Notify routine.
  static constexpr ControlOps Table(int32_t type_id,
                                    int64_t (*notify)(ControlRecord&, NativeHandle, const ControlNotice&)) {
    return {.type_id = type_id,
            .notify = notify,
            .get_state = GetState,
            .get_text = GetText,
            .add_item = AddItem,
            .clear_items = ClearItems,
            .get_item_text = GetItemText};
  }
};
