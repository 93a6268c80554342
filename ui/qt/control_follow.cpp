#include "ui/qt/control_follow.h"

#include <QSize>
#include <QWidget>

#include "ui/anchored_place.h"
#include "ui/control_register.h"
#include "ui/native_hooks.h"
#include "ui/qt/numbered_window.h"

namespace {

void Place(ControlRecord& record, const QSize& growth) {
  const ControlPlace place = AnchoredPlace(record, growth.width(), growth.height());
  record.handle->setGeometry(place.x, place.y, place.width, place.height);
}

}  // namespace

ControlPlace NativePlaceOf(NativeHandle control) {
  const QRect at = control->geometry();
  return {at.x(), at.y(), at.width(), at.height()};
}

void NativeAnchorPlace(ControlRecord& record) {
  if (const auto* window = dynamic_cast<const NumberedWindow*>(record.handle->window()))
    Place(record, window->size() - window->DesignSize());
}

void ControlsFollowWindow(const QWidget* window, const QSize& design) {
  const QSize growth = window->size() - design;
  ControlForEach([&](ControlRecord& record) {
    if (record.anchored && record.handle->window() == window) Place(record, growth);
  });
}
