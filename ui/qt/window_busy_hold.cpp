#include "ui/window_busy_hold.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QSinglePointEvent>
#include <QWidget>
#include <QWindow>
#include <memory>

#include "ui/held_input.h"

namespace {

bool IsPointerButtonOrMove(QEvent::Type type) {
  return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
         type == QEvent::MouseButtonDblClick || type == QEvent::MouseMove;
}

bool IsInput(QEvent::Type type) {
  switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::InputMethod:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::NativeGesture:
      return true;
    default:
      return IsPointerButtonOrMove(type);
  }
}

// Sees every event Qt delivers while the hold is on. Input is first seen where Qt first
// delivers it (the window for the window system's input, the widget for input sent to
// it); what is held there goes no further, so nothing is held or passed twice.
class QtBusyHold final : public QObject, public WindowBusyHold {
 public:
  explicit QtBusyHold(QWidget* exit_control) : exit_(exit_control) {
    QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
    QCoreApplication::instance()->installEventFilter(this);
  }
  // Without an application nothing is delivered, and nothing held.
  QtBusyHold() { holding_ = false; }

  void DropPressesOf(NativeHandle control) override { dropped_ = control; }

  void GiveBack() override {
    held_.GiveBack([](const QPointer<QObject>& receiver, std::unique_ptr<QEvent>& event) {
      if (receiver) QCoreApplication::postEvent(receiver, event.release());
    });
  }

 private:
  void Dispatch() override { QCoreApplication::processEvents(QEventLoop::AllEvents); }

  void End() override {
    QCoreApplication::instance()->removeEventFilter(this);
    QGuiApplication::restoreOverrideCursor();
  }

  bool eventFilter(QObject* receiver, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (!IsInput(type)) return false;
    if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
      if (type == QEvent::KeyPress) escape_ = true;
      return true;
    }
    if (IsPointerButtonOrMove(type) && PassToExit(receiver, static_cast<QSinglePointEvent&>(*event))) return false;
    if (PressesDropped(receiver, *event)) return true;
    held_.Keep(receiver, std::unique_ptr<QEvent>(event->clone()), type == QEvent::MouseMove);
    return true;
  }

  // The exit control takes its clicks as always; once pressed it also takes the rest of
  // the press, wherever the pointer goes, as Qt's own pointer grab would.
  bool PassToExit(QObject* receiver, const QSinglePointEvent& event) {
    const bool on_exit = exit_pressed_ || On(exit_, receiver, event);
    if (!on_exit) return false;
    if (event.type() == QEvent::MouseButtonPress) exit_pressed_ = true;
    if (event.type() == QEvent::MouseButtonRelease && event.buttons() == Qt::NoButton) exit_pressed_ = false;
    return true;
  }

  // Whether the pointer's event lands on the widget (or inside it).
  static bool On(const QPointer<QWidget>& widget, QObject* receiver, const QSinglePointEvent& event) {
    QWidget* control = widget.data();
    if (!control) return false;
    QWidget* target = qobject_cast<QWidget*>(receiver);
    if (auto* window = qobject_cast<QWindow*>(receiver)) {
      QWidget* top = control->window();
      if (top->windowHandle() == window) target = top->childAt(event.position().toPoint());
    }
    return target && (target == control || control->isAncestorOf(target));
  }

  // A button press of the dropped control, or a key that presses it while it has the focus.
  bool PressesDropped(QObject* receiver, const QEvent& event) const {
    const QEvent::Type type = event.type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick)
      return On(dropped_, receiver, static_cast<const QSinglePointEvent&>(event));
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease) return false;
    const int key = static_cast<const QKeyEvent&>(event).key();
    const bool presses = key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Select;
    return presses && dropped_ && QApplication::focusWidget() == dropped_.data();
  }

  QPointer<QWidget> exit_;
  QPointer<QWidget> dropped_;
  HeldInput<QPointer<QObject>, std::unique_ptr<QEvent>> held_;
  bool exit_pressed_ = false;
};

}  // namespace

std::unique_ptr<WindowBusyHold> WindowBusyHoldStart(NativeHandle exit_control) {
  if (!QCoreApplication::instance()) return std::make_unique<QtBusyHold>();
  return std::make_unique<QtBusyHold>(exit_control);
}
