#include "ui/events.h"

#include <memory>
#include <mutex>
#include <vector>

#include "ui/event_dispatch.h"
#include "ui/event_queue.h"

namespace {

struct CurrentEvent {
  int32_t code = 0;
  int64_t window = 0;
  int64_t object = 0;
  int64_t detail = -1;
};

struct EventState {
  EventQueue queue;
  CurrentEvent current;
  // Events posted by other threads, waiting to join the queue on its own thread.
  std::mutex inbox_lock;
  std::vector<TakenEvent> inbox;
};

void TakeInbox(EventState& events) {
  std::vector<TakenEvent> arrived;
  {
    const std::lock_guard hold(events.inbox_lock);
    arrived.swap(events.inbox);
  }
  for (const TakenEvent& event : arrived) events.queue.Post(event.code, event.object, event.window, event.detail);
}

std::unique_ptr<EventState> g_events;

}  // namespace

void UiEventsInit() {
  g_events = std::make_unique<EventState>();
  DispatchInit();
}

void UiEventsEnd() {
  if (!g_events) return;
  DispatchEnd();
  g_events.reset();
}

void EventWakeUp() {
  if (g_events) DispatchWakeUp();
}

int32_t EventWait(int64_t timeout_ms) {
  if (!g_events) return 0;
  CurrentEvent& current = g_events->current;
  current.code = 0;
  current.detail = -1;
  TakeInbox(*g_events);
  if (!g_events->queue.Empty()) {
    const TakenEvent taken = g_events->queue.Take();
    current.code = taken.code;
    current.window = taken.window;
    current.object = taken.object;
    current.detail = taken.detail;
    return taken.code;
  }
  return DispatchWait(timeout_ms);
}

int64_t EventControl() { return g_events ? g_events->current.object : 0; }
int64_t EventDetail() { return g_events ? g_events->current.detail : -1; }
int64_t EventWindow() { return g_events ? g_events->current.window : 0; }

void EventPost(int32_t code, int64_t object, int64_t window, int64_t detail) {
  if (g_events) g_events->queue.Post(code, object, window, detail);
}

void EventPostFromThread(int32_t code, int64_t object, int64_t window, int64_t detail) {
  if (!g_events) return;
  {
    const std::lock_guard hold(g_events->inbox_lock);
    g_events->inbox.push_back({code, object, window, detail});
  }
  DispatchWakeUp();
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
