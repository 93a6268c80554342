#include "ui/events.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <memory>

#include "ui/event_queue.h"

namespace {

struct CurrentEvent {
  int32_t code = 0;
  int64_t window = 0;
  int64_t object = 0;
  int64_t detail = -1;
};

// Watches everything Qt dispatches while EventWait waits, to tell what it was.
class DispatchWatch : public QObject {
 public:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    if (!watching) return false;
    if (receiver == timer_receiver && event->type() == QEvent::Timer) {
      timed_out = true;
      return false;
    }
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
    timed_out = false;
    message = 0;
    timer_receiver = timer_object;
  }
  void Stop() { watching = false; }

  bool watching = false;
  bool dispatched = false;
  bool timed_out = false;
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

struct EventState {
  EventQueue queue;
  CurrentEvent current;
  DispatchWatch watch;
  QObject wake_up;
};

std::unique_ptr<EventState> g_events;

// Runs one round of Qt's dispatch; the result says whether anything was dispatched
// and what.
int32_t Dispatch(int64_t timeout_ms) {
  DispatchWatch& watch = g_events->watch;
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

}  // namespace

void UiEventsInit() {
  g_events = std::make_unique<EventState>();
  g_events->wake_up.setObjectName(QStringLiteral("PostEventClass"));
  QCoreApplication::instance()->installEventFilter(&g_events->watch);
}

void UiEventsEnd() {
  if (!g_events) return;
  if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(&g_events->watch);
  g_events.reset();
}

void EventWakeUp() {
  if (!g_events) return;
  QCoreApplication::postEvent(&g_events->wake_up, new QEvent(QEvent::User));
}

int32_t EventWait(int64_t timeout_ms) {
  if (!g_events) return 0;
  CurrentEvent& current = g_events->current;
  current.code = 0;
  current.detail = -1;
  if (!g_events->queue.Empty()) {
    const TakenEvent taken = g_events->queue.Take();
    current.code = taken.code;
    current.window = taken.window;
    current.object = taken.object;
    current.detail = taken.detail;
    return taken.code;
  }
  return Dispatch(timeout_ms);
}

int64_t EventControl() { return g_events ? g_events->current.object : 0; }
int64_t EventDetail() { return g_events ? g_events->current.detail : -1; }
int64_t EventWindow() { return g_events ? g_events->current.window : 0; }

void EventPost(int32_t code, int64_t object, int64_t window, int64_t detail) {
  if (g_events) g_events->queue.Post(code, object, window, detail);
}

void EventRemove(int64_t code, int64_t object, int64_t window, int64_t detail) {
  if (g_events) g_events->queue.Remove(code, object, window, detail);
}

bool EventQueued(int64_t code, int64_t object, int64_t window, int64_t detail) {
  return g_events && g_events->queue.Contains(code, object, window, detail);
}

void EventRemoveWindow(int64_t window) {
  if (g_events) g_events->queue.RemoveWindow(window);
}

EventSuppression::EventSuppression() {
  if (g_events) g_events->queue.Suppress();
}

EventSuppression::~EventSuppression() {
  if (g_events) g_events->queue.Unsuppress();
}
