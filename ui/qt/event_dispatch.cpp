#include "ui/event_dispatch.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QObject>
#include <chrono>
#include <memory>

#include "ui/events.h"

namespace {

// Watches everything Qt dispatches while EventWait waits, to tell what it was.
class DispatchWatch : public QObject {
 public:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    if (!watching) return false;
    // The wait's own timer running out is nothing dispatched.
    if (receiver == timer_receiver && event->type() == QEvent::Timer) return false;
    dispatched = true;
    const int32_t number = MessageNumber(*event);
    if (number != 0) message = number;
    return false;
  }

  static int32_t MessageNumber(const QEvent& event) {
    switch (event.type()) {
      case QEvent::MouseMove:
        return kMouseMoveMessage;
      case QEvent::MouseButtonPress:
        return Messages(event).down;
      case QEvent::MouseButtonRelease:
        return Messages(event).up;
      case QEvent::MouseButtonDblClick:
        return Messages(event).double_click;
      case QEvent::Wheel:
        return kWheelMessage;
      case QEvent::KeyPress:
        return kKeyDownMessage;
      case QEvent::KeyRelease:
        return kKeyUpMessage;
      default:
        return 0;
    }
  }

  void Start(QObject* timer_object) {
    watching = true;
    dispatched = false;
    message = 0;
    timer_receiver = timer_object;
  }
  void Stop() { watching = false; }

  bool watching = false;
  bool dispatched = false;
  int32_t message = 0;
  QObject* timer_receiver = nullptr;

 private:
  struct ButtonMessages {
    int32_t down;
    int32_t up;
    int32_t double_click;
  };
  static ButtonMessages Messages(const QEvent& event) {
    switch (static_cast<const QMouseEvent&>(event).button()) {
      case Qt::LeftButton:
        return {kLeftButtonDownMessage, kLeftButtonUpMessage, kLeftDoubleClickMessage};
      case Qt::RightButton:
        return {kRightButtonDownMessage, kRightButtonUpMessage, kRightDoubleClickMessage};
      case Qt::MiddleButton:
        return {kMiddleButtonDownMessage, kMiddleButtonUpMessage, kMiddleDoubleClickMessage};
      default:
        return {kExtraButtonDownMessage, kExtraButtonUpMessage, kExtraDoubleClickMessage};
    }
  }
};

struct DispatchState {
  DispatchWatch watch;
  QObject wake_up;
};

std::unique_ptr<DispatchState> g_dispatch;

}  // namespace

void DispatchInit() {
  g_dispatch = std::make_unique<DispatchState>();
  g_dispatch->wake_up.setObjectName(QStringLiteral("PostEventClass"));
  QCoreApplication::instance()->installEventFilter(&g_dispatch->watch);
}

void DispatchEnd() {
  if (!g_dispatch) return;
  if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(&g_dispatch->watch);
  g_dispatch.reset();
}

void DispatchWakeUp() {
  if (g_dispatch) QCoreApplication::postEvent(&g_dispatch->wake_up, new QEvent(QEvent::User));
}

// Runs one round of Qt's dispatch; the result says whether anything was dispatched
// and what.
int32_t DispatchWait(int64_t timeout_ms) {
  if (!g_dispatch) return 0;
  DispatchWatch& watch = g_dispatch->watch;
  watch.Start(nullptr);
  if (timeout_ms < 0) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  } else {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (!watch.dispatched && timeout_ms > 0) {
      QObject timer_object;
      watch.Start(&timer_object);
      timer_object.startTimer(std::chrono::milliseconds(timeout_ms));
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
  }
  watch.Stop();
  if (!watch.dispatched) return timeout_ms < 0 ? kOtherMessage : 0;
  return watch.message != 0 ? watch.message : kOtherMessage;
}
