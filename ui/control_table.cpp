// The table of numbered controls: taking numbers, finding records, and letting
// controls go with everything that belongs to them.
#include <memory>
#include <vector>

#include "fs/object_table.h"
#include "ui/control_register.h"
#include "ui/controls.h"
#include "ui/events.h"
#include "ui/native_hooks.h"

namespace {

constexpr int64_t kTableStep = 50;

std::unique_ptr<ObjectTable<ControlRecord>> g_controls;

// What goes with a control: its type's resources and its queued events.
void TearDown(ControlRecord& record) {
  if (record.ops && record.ops->release) record.ops->release(record);
  EventRemove(ControlEvent, record.number, kAnyValue, kAnyValue);
}

// The table's release: a control replaced, or all of them at shutdown.
void ControlRelease(ControlRecord& record) {
  const NativeHandle control = record.handle;
  TearDown(record);
  // Cleared first: the control's own going-away then finds nothing to tear down.
  record.handle = nullptr;
  NativeDestroy(control);
}

}  // namespace

void UiControlsInit() {
  g_controls = std::make_unique<ObjectTable<ControlRecord>>(kTableStep, ControlRelease);
  ControlContainerSet(nullptr);
}

void UiControlsEnd() {
  // Controls still standing are destroyed now, so their types' resources are freed
  // before the windows go.
  g_controls.reset();
  ControlContainerSet(nullptr);
}

ControlSlot ControlTake(int64_t number) {
  if (!g_controls) return {};
  const auto taken = g_controls->Take(number);
  return {taken.record, taken.id};
}

void ControlGone(int64_t id, NativeHandle gone) {
  ControlRecord* record = ControlFind(id);
  if (!record || record->handle != gone) return;
  TearDown(*record);
  record->handle = nullptr;
  g_controls->Release(id);  // no longer in use: only frees the record
}

int64_t ControlRegister(int64_t number, const ControlSlot& slot, NativeHandle control, const ControlOps& ops) {
  if (!control) return 0;
  if (!slot.record) {
    NativeDestroy(control);  // the number could not be taken: no control is made
    return 0;
  }
  ControlRecord& record = *slot.record;
  record.handle = control;
  record.ops = &ops;
  record.number = slot.id;
  NativeControlTie(control, slot.id);
  return number == kAutoNumber ? slot.id : static_cast<int64_t>(reinterpret_cast<intptr_t>(control));
}

CreatedControl ControlJoin(int64_t number, NativeHandle control, const ControlOps& ops) {
  const ControlSlot slot = ControlTake(number);
  const int64_t result = ControlRegister(number, slot, control, ops);
  return {result, result != 0 ? slot.record : nullptr};
}

ControlRecord* ControlFind(int64_t number) { return g_controls ? g_controls->Find(number) : nullptr; }

void ControlForEach(const std::function<void(ControlRecord&)>& visit) {
  if (!g_controls) return;
  g_controls->ForEach([&](int64_t, ControlRecord& record) { visit(record); });
}

void ControlsDestroyIn(NativeHandle window) {
  if (!g_controls) return;
  std::vector<int64_t> inside;
  g_controls->ForEach([&](int64_t id, const ControlRecord& record) {
    if (NativeIsInside(window, record.handle)) inside.push_back(id);
  });
  for (const int64_t id : inside) g_controls->Release(id);
}
