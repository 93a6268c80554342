// The Qt side of the control table: a control's number is the widget's "WK_ID"
// property, and a widget Qt deletes on its own leaves the table through its destroyed
// signal.
#include "ui/control_register.h"

#include <QVariant>
#include <QWidget>

#include "fs/object_table.h"
#include "ui/controls.h"
#include "ui/events.h"
#include "ui/native_hooks.h"
#include "ui/qt/window_access.h"

namespace {

constexpr char kIdProperty[] = "WK_ID";

}  // namespace

// Qt's widgets need no class registration and no component library: nothing to do.
void UiCommonInit() {}

void NativeControlTie(NativeHandle control, int64_t id) {
  control->setProperty(kIdProperty, QVariant::fromValue<qlonglong>(id));
  // A mouse action on a control is the control's, whether it uses it or not (a right
  // click on a push button, a button released away from where it was pressed): Qt
  // would hand what a control ignores on to the window as the window's own click.
  control->setAttribute(Qt::WA_NoMousePropagation);
  QObject::connect(control, &QObject::destroyed, [id, control] { ControlGone(id, control); });
}

ControlRecord* ControlOf(NativeHandle control) {
  if (!control) return nullptr;
  const QVariant id = control->property(kIdProperty);
  if (!id.isValid()) return nullptr;
  ControlRecord* record = ControlFind(id.toLongLong());
  return record && record->handle == control ? record : nullptr;
}

void NativeDestroy(NativeHandle control) {
  // Without its number the widget reports nothing more while it is deleted.
  control->setProperty(kIdProperty, QVariant());
  delete control;  // a child widget: destroying it detaches it from its window
}

bool NativeIsInside(NativeHandle window, NativeHandle control) { return window->isAncestorOf(control); }
