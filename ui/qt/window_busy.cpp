#include "ui/window_busy.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QSinglePointEvent>
#include <QWidget>
#include <QWindow>
#include <utility>
#include <vector>

#include "ui/control_register.h"
#include "ui/events.h"

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

}  // namespace

// Sees every event Qt delivers while the hold is on. Input is first seen where Qt first
// delivers it (the window for the window system's input, the widget for input sent to
// it); what is held there goes no further, so nothing is held or passed twice.
struct WindowBusy::Hold : QObject {
  struct Held {
    QPointer<QObject> receiver;
    std::unique_ptr<QEvent> event;
  };

  bool eventFilter(QObject* receiver, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (!IsInput(type)) return false;
    if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
      if (type == QEvent::KeyPress) escape = true;
      return true;
    }
    if (IsPointerButtonOrMove(type) && PassToExit(receiver, static_cast<QSinglePointEvent&>(*event))) return false;
    if (PressesDropped(receiver, *event)) return true;
    Keep(receiver, *event);
    return true;
  }

  // The exit control takes its clicks as always; once pressed it also takes the rest of
  // the press, wherever the pointer goes, as Qt's own pointer grab would.
  bool PassToExit(QObject* receiver, const QSinglePointEvent& event) {
    const bool on_exit = exit_pressed || OnExit(receiver, event);
    if (!on_exit) return false;
    if (event.type() == QEvent::MouseButtonPress) exit_pressed = true;
    if (event.type() == QEvent::MouseButtonRelease && event.buttons() == Qt::NoButton) exit_pressed = false;
    return true;
  }

  bool OnExit(QObject* receiver, const QSinglePointEvent& event) const { return On(exit, receiver, event); }

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
      return On(dropped, receiver, static_cast<const QSinglePointEvent&>(event));
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease) return false;
    const int key = static_cast<const QKeyEvent&>(event).key();
    const bool presses = key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Select;
    return presses && dropped && QApplication::focusWidget() == dropped.data();
  }

  void Keep(QObject* receiver, const QEvent& event) {
    // Only the last of a run of moves matters.
    if (event.type() == QEvent::MouseMove && !held.empty() && held.back().receiver == receiver &&
        held.back().event->type() == QEvent::MouseMove) {
      held.back().event.reset(event.clone());
      return;
    }
    held.push_back({receiver, std::unique_ptr<QEvent>(event.clone())});
  }

  void Start() {
    QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
    QCoreApplication::instance()->installEventFilter(this);
    holding = true;
  }

  void Stop() {
    if (!holding) return;
    holding = false;
    QCoreApplication::instance()->removeEventFilter(this);
    QGuiApplication::restoreOverrideCursor();
  }

  void GiveBack() {
    for (Held& item : held)
      if (item.receiver) QCoreApplication::postEvent(item.receiver, item.event.release());
    held.clear();
  }

  QPointer<QWidget> exit;
  QPointer<QWidget> dropped;
  std::vector<Held> held;
  bool holding = false;
  bool escape = false;
  bool exit_pressed = false;
};

WindowBusy::WindowBusy(int64_t window, int64_t exit_control)
    : hold_(std::make_unique<Hold>()), stop_events_{{ControlEvent, exit_control}, {CloseEvent, window}} {
  if (!QCoreApplication::instance()) return;
  if (const ControlRecord* record = ControlFind(exit_control)) hold_->exit = record->handle;
  hold_->Start();
}

WindowBusy::~WindowBusy() {
  Release();
  hold_->GiveBack();
}

bool WindowBusy::DispatchPending() {
  if (hold_->holding) QCoreApplication::processEvents(QEventLoop::AllEvents);
  return !hold_->escape;
}

void WindowBusy::Release() { hold_->Stop(); }

void WindowBusy::DropPressesOf(int64_t control) {
  if (const ControlRecord* record = ControlFind(control)) hold_->dropped = record->handle;
}
