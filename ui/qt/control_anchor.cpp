#include "ui/control_anchor.h"

#include <QSize>
#include <QWidget>

#include "ui/anchored_place.h"
#include "ui/control_register.h"
#include "ui/qt/control_follow.h"
#include "ui/qt/numbered_window.h"

namespace {

void Place(ControlRecord& record, const QSize& growth) {
  const ControlPlace place = AnchoredPlace(record, growth.width(), growth.height());
  record.handle->setGeometry(place.x, place.y, place.width, place.height);
}

}  // namespace

void ControlAnchorSet(int64_t number, const ControlAnchor& anchor) {
  ControlRecord* record = ControlFind(number);
  if (!record) return;
  if (!record->anchored) {
    const QRect at = record->handle->geometry();
    record->design[0] = at.x();
    record->design[1] = at.y();
    record->design[2] = at.x() + at.width();
    record->design[3] = at.y() + at.height();
    record->anchored = true;
  }
  record->anchor = anchor;
  // Controls outside the layer's windows have no designed size to follow.
  if (const auto* window = dynamic_cast<const NumberedWindow*>(record->handle->window()))
    Place(*record, window->size() - window->DesignSize());
}

void ControlsFollowWindow(const QWidget* window, const QSize& design) {
  const QSize growth = window->size() - design;
  ControlForEach([&](ControlRecord& record) {
    if (record.anchored && record.handle->window() == window) Place(record, growth);
  });
}
