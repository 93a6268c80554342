#include "ui/control_anchor.h"

#include "ui/anchored_place.h"
#include "ui/control_register.h"
#include "ui/native_hooks.h"

void ControlAnchorSet(int64_t number, const ControlAnchor& anchor) {
  ControlRecord* record = ControlFind(number);
  if (!record) return;
  if (!record->anchored) {
    const ControlPlace at = NativePlaceOf(record->handle);
    record->design[0] = at.x;
    record->design[1] = at.y;
    record->design[2] = at.x + at.width;
    record->design[3] = at.y + at.height;
    record->anchored = true;
  }
  record->anchor = anchor;
  NativeAnchorPlace(*record);
}
