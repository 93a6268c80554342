#include "ui/control_register.h"

#include <QPointer>
#include <QVariant>
#include <QWidget>
#include <vector>

#include "fs/object_table.h"
#include "ui/controls.h"
#include "ui/events.h"
#include "ui/qt/window_access.h"

namespace {

constexpr int64_t kTableStep = 50;
constexpr char kIdProperty[] = "WK_ID";

std::unique_ptr<ObjectTable<ControlRecord>> g_controls;
QPointer<QWidget> g_container;

// What goes with a control: its type's resources and its queued events.
void TearDown(ControlRecord& record) {
  if (record.ops && record.ops->release) record.ops->release(record);
  EventRemove(ControlEvent, record.number, kAnyValue, kAnyValue);
}

// The table's release: a control replaced, or all of them at shutdown.
void ControlRelease(ControlRecord& record) {
  QWidget* widget = record.handle;
  TearDown(record);
  // Without its number the widget reports nothing more while it is deleted.
  widget->setProperty(kIdProperty, QVariant());
  record.handle = nullptr;
  delete widget;  // a child widget: destroying it detaches it from its window
}

// A control's widget deleted by Qt with something around it, not through the table.
void ControlGone(int64_t id, const QObject* gone) {
  ControlRecord* record = ControlFind(id);
  if (!record || record->handle != gone) return;
  TearDown(*record);
  record->handle = nullptr;
  g_controls->Release(id);  // no longer in use: only frees the record
}

}  // namespace

void UiControlsInit() {
  g_controls = std::make_unique<ObjectTable<ControlRecord>>(kTableStep, ControlRelease);
  g_container = nullptr;
}

void UiControlsEnd() {
  // Controls still standing are destroyed now, so their types' resources are freed
  // before the windows go.
  g_controls.reset();
  g_container = nullptr;
}

// Qt's widgets need no class registration and no component library: nothing to do.
void UiCommonInit() {}

QWidget* ControlContainer() { return g_container; }
void ControlContainerSet(QWidget* window) { g_container = window; }
void ControlContainerForget(QWidget* window) {
  if (g_container == window) g_container = nullptr;
}

ControlSlot ControlTake(int64_t number) {
  if (!g_controls) return {};
  const auto taken = g_controls->Take(number);
  return {taken.record, taken.id};
}

int64_t ControlRegister(int64_t number, const ControlSlot& slot, QWidget* control,
                        const ControlOps& ops) {
  if (!control) return 0;
  if (!slot.record) {
    delete control;  // the number could not be taken: no control is made
    return 0;
  }
  ControlRecord& record = *slot.record;
  record.handle = control;
  record.ops = &ops;
  record.number = slot.id;
  control->setProperty(kIdProperty, QVariant::fromValue<qlonglong>(slot.id));
  // A mouse action on a control is the control's, whether it uses it or not (a right
  // click on a push button, a button released away from where it was pressed): Qt
  // would hand what a control ignores on to the window as the window's own click.
  control->setAttribute(Qt::WA_NoMousePropagation);
  const int64_t id = slot.id;
  QObject::connect(control, &QObject::destroyed, [id](QObject* gone) { ControlGone(id, gone); });
  return number == kAutoNumber ? id : static_cast<int64_t>(reinterpret_cast<intptr_t>(control));
}

ControlRecord* ControlFind(int64_t number) { return g_controls ? g_controls->Find(number) : nullptr; }

ControlRecord* ControlOf(const QWidget* control) {
  if (!control) return nullptr;
  const QVariant id = control->property(kIdProperty);
  if (!id.isValid()) return nullptr;
  ControlRecord* record = ControlFind(id.toLongLong());
  return record && record->handle == control ? record : nullptr;
}

void ControlForEach(const std::function<void(ControlRecord&)>& visit) {
  if (!g_controls) return;
  g_controls->ForEach([&](int64_t, ControlRecord& record) { visit(record); });
}

void ControlsDestroyIn(QWidget* window) {
  if (!g_controls) return;
  std::vector<int64_t> inside;
  g_controls->ForEach([&](int64_t id, const ControlRecord& record) {
    if (window->isAncestorOf(record.handle)) inside.push_back(id);
  });
  for (const int64_t id : inside) g_controls->Release(id);
}

int64_t ControlNotify(QWidget* control, const ControlNotice& notice) {
  if (ControlRecord* record = ControlOf(control); record && record->ops->notify) {
    const int64_t answer = record->ops->notify(*record, control, notice);
    if (answer != kNotHandled) return answer;
  }
  if (notice.kind == NoticeKind::kCommand) ControlEventPost(control, notice.code);
  return 0;
}

void ControlEventPost(QWidget* control, int64_t detail) {
  if (!control) return;
  const QVariant id = control->property(kIdProperty);
  if (!id.isValid()) return;
  EventPost(ControlEvent, id.toLongLong(), WindowNumberOf(control), detail);
}
