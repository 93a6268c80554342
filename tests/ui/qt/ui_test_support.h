#pragma once
// Helpers shared by the window layer's tests.
#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "tests/ui/event_drain.h"
#include "ui/events.h"

// Puts a mouse event into Qt's queue, so that EventWait dispatches it.
inline void PostMouse(QWidget* widget, QEvent::Type type, Qt::MouseButton button, QPoint at) {
  const QPointF local(at);
  const QPointF global(widget->mapToGlobal(at));
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
  QCoreApplication::postEvent(widget, new QMouseEvent(type, local, global, button, held, Qt::NoModifier));
}

// Delivers a mouse event at once, as the window system would.
inline void SendMouse(QWidget* widget, QEvent::Type type, Qt::MouseButton button, QPoint at,
                      Qt::MouseButtons held = Qt::NoButton, Qt::KeyboardModifiers keys = Qt::NoModifier) {
  QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, held, keys);
  QCoreApplication::sendEvent(widget, &event);
}

// A left or right click: press and release.
inline void SendClick(QWidget* widget, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
  SendMouse(widget, QEvent::MouseButtonPress, button, at, button);
  SendMouse(widget, QEvent::MouseButtonRelease, button, at);
}

// A double-click as the window system delivers it: click, then press as double-click
// and release.
inline void SendDoubleClick(QWidget* widget, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
  SendClick(widget, at, button);
  SendMouse(widget, QEvent::MouseButtonDblClick, button, at, button);
  SendMouse(widget, QEvent::MouseButtonRelease, button, at);
}
