#include "ui/qt/numbered_window.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <vector>

#include "ui/control_register.h"
#include "ui/events.h"
#include "ui/qt/control_follow.h"
#include "ui/qt/window_placement.h"
#include "ui/tab_order.h"
#include "ui/top_level_windows.h"
#include "ui/window_state.h"

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
    const WindowShown now = isMinimized()   ? WindowShown::kMinimised
                            : isMaximized() ? WindowShown::kMaximised
                                            : WindowShown::kRestored;
    WindowStatePost(number_, now, state_flag_);
  }
  QWidget::changeEvent(event);
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

bool Inside(const QWidget* outer, const QWidget* inner) { return outer->isAncestorOf(inner); }

}  // namespace

bool NumberedWindow::focusNextPrevChild(bool next) {
  std::vector<QWidget*> candidates;
  for (QWidget* widget : findChildren<QWidget*>()) {
    if ((widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled() && widget->isVisible() && !widget->focusProxy())
      TabCandidateAdd(candidates, widget, Inside);
  }
  if (QWidget* target = TabTarget(candidates, focusWidget(), next, Inside))
    target->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  return true;
}
