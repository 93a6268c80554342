#include "ui/qt/numbered_window.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <vector>

#include "ui/control_register.h"
#include "ui/events.h"
#include "ui/qt/control_follow.h"
#include "ui/qt/window_placement.h"
#include "ui/top_level_windows.h"

NumberedWindow::NumberedWindow(int64_t number, QWidget* owner, Qt::WindowFlags flags)
    : QWidget(owner, flags), number_(number) {}

NumberedWindow::~NumberedWindow() {
  // Owned windows are Qt children of this one: they are closed through their own
  // numbers before Qt would delete them behind the window table's back.
  const QObjectList children_now = children();
  for (QObject* child : children_now)
    if (auto* owned = dynamic_cast<NumberedWindow*>(child)) WindowClose(owned->Number());
  // The controls go first, while the window still stands, so that no control reports
  // anything from a half-destroyed widget.
  ControlsDestroyIn(this);
  ControlContainerForget(this);
}

void NumberedWindow::Post(int32_t code, int64_t object) { EventPost(code, object, number_, 0); }

void NumberedWindow::closeEvent(QCloseEvent* event) {
  // The window stays open until the program closes it; the request becomes an event.
  event->ignore();
  Post(CloseEvent, number_);
  EventWakeUp();
}

void NumberedWindow::changeEvent(QEvent* event) {
  FrameCheck();
  if (event->type() == QEvent::ActivationChange) {
    Post(isActiveWindow() ? ActivatedEvent : DeactivatedEvent, 0);
  } else if (event->type() == QEvent::WindowStateChange && ready_) {
    StateChanged();
  }
  QWidget::changeEvent(event);
}

void NumberedWindow::StateChanged() {
  if (isMinimized()) {
    state_flag_ = true;
    Post(MinimisedEvent, 0);
  } else if (isMaximized()) {
    state_flag_ = true;
    Post(MaximisedEvent, 0);
    Post(ResizedEvent, 0);
  } else if (state_flag_) {
    state_flag_ = false;
    EventRemove(ResizedEvent, -1, number_, -1);
    Post(RestoredEvent, 0);
    Post(ResizedEvent, 0);
  }
}

void NumberedWindow::KeepOnScreen(bool sizable) {
  sizable_ = sizable;
  frame_unknown_ = frameGeometry() == geometry();
  WindowKeepOnScreen(*this, sizable);
}

void NumberedWindow::FrameCheck() {
  if (!frame_unknown_ || frameGeometry() == geometry()) return;
  frame_unknown_ = false;
  WindowKeepOnScreen(*this, sizable_);
}

void NumberedWindow::moveEvent(QMoveEvent* event) {
  FrameCheck();
  if (ready_) Post(MovedEvent, number_);
  QWidget::moveEvent(event);
}

void NumberedWindow::resizeEvent(QResizeEvent* event) {
  ControlsFollowWindow(this, design_size_);
  if (ready_ && !isMinimized()) Post(ResizedEvent, 0);
  QWidget::resizeEvent(event);
}

void NumberedWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Post(LeftButtonUpEvent, 0);
  if (event->button() == Qt::RightButton) Post(RightButtonUpEvent, 0);
  QWidget::mouseReleaseEvent(event);
}

void NumberedWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Post(LeftDoubleClickEvent, 0);
  QWidget::mouseDoubleClickEvent(event);
}

void NumberedWindow::paintEvent(QPaintEvent* event) {
  // The window manager has framed the window by the time it is first drawn.
  FrameCheck();
  // Qt repaints the window under every child that repaints; only a region of the
  // window's own background counts as a repaint of the window.
  QRegion own = event->region();
  for (const QObject* child : children())
    if (const auto* widget = qobject_cast<const QWidget*>(child); widget && widget->isVisible())
      own -= widget->geometry();
  if (!own.isEmpty()) Post(RepaintEvent, 0);
  QWidget::paintEvent(event);
}

namespace {

// Widgets that take the focus by Tab, in creation order; the inner parts of a widget
// that is itself a candidate are not candidates of their own.
std::vector<QWidget*> TabCandidates(const QWidget* window) {
  std::vector<QWidget*> candidates;
  for (QWidget* widget : window->findChildren<QWidget*>()) {
    if (!(widget->focusPolicy() & Qt::TabFocus) || !widget->isEnabled() || !widget->isVisible() || widget->focusProxy())
      continue;
    bool inside_candidate = false;
    for (const QWidget* candidate : candidates)
      if (candidate->isAncestorOf(widget)) inside_candidate = true;
    if (!inside_candidate) candidates.push_back(widget);
  }
  return candidates;
}

}  // namespace

bool NumberedWindow::focusNextPrevChild(bool next) {
  const std::vector<QWidget*> candidates = TabCandidates(this);
  if (candidates.empty()) return true;
  const QWidget* focused = focusWidget();
  const auto count = static_cast<ptrdiff_t>(candidates.size());
  ptrdiff_t at = -1;
  for (ptrdiff_t i = 0; i < count; ++i)
    if (focused && (candidates[i] == focused || candidates[i]->isAncestorOf(focused))) at = i;
  ptrdiff_t target;
  if (next)
    target = at < 0 || at + 1 == count ? 0 : at + 1;
  else
    target = at <= 0 ? count - 1 : at - 1;
  candidates[static_cast<size_t>(target)]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  return true;
}
