#include "ui/control_anchor.h"

#include <QSize>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "ui/control_register.h"
#include "ui/qt/numbered_window.h"

namespace {

void Place(ControlRecord& record, const QSize& growth) {
  const auto moved = [](int edge, double share, int by) { return edge + static_cast<int>(std::lround(share * by)); };
  const int left = moved(record.design[0], record.anchor.left, growth.width());
  const int top = moved(record.design[1], record.anchor.top, growth.height());
  const int right = moved(record.design[2], record.anchor.right, growth.width());
  const int bottom = moved(record.design[3], record.anchor.bottom, growth.height());
  record.handle->setGeometry(left, top, std::max(right - left, 0), std::max(bottom - top, 0));
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
