#pragma once
// Application events: the queue of the user-interface thread and the wait that
// hands them out one at a time.
#include <cstdint>

// Event codes.
inline constexpr int32_t ControlEvent = 13100;  // object: control number
inline constexpr int32_t CloseEvent = 13116;    // object: window number
inline constexpr int32_t CommandEvent = 13101;  // object: command (a shortcut's)
inline constexpr int32_t ActivatedEvent = 13104;
inline constexpr int32_t MinimisedEvent = 13107;
inline constexpr int32_t MaximisedEvent = 13108;
inline constexpr int32_t RestoredEvent = 13109;
inline constexpr int32_t RightButtonUpEvent = 13111;
inline constexpr int32_t LeftButtonUpEvent = 13112;
inline constexpr int32_t LeftDoubleClickEvent = 13113;
inline constexpr int32_t DeactivatedEvent = 13114;
inline constexpr int32_t RepaintEvent = 13115;
inline constexpr int32_t MovedEvent = 13117;  // object: window number
inline constexpr int32_t ResizedEvent = 13118;

// Detail codes of ControlEvent.
inline constexpr int64_t DetailLeftClick = 0;
inline constexpr int64_t DetailRightClick = 1;
inline constexpr int64_t DetailLeftDoubleClick = 2;
inline constexpr int64_t DetailRightDoubleClick = 3;
inline constexpr int64_t DetailColumnClick = 8;
inline constexpr int64_t DetailChange = 768;
inline constexpr int64_t DetailDragStart = 14002;

// Numbers EventWait returns for what it dispatched when no event was queued.
inline constexpr int32_t kMouseMoveMessage = 512;
inline constexpr int32_t kLeftButtonDownMessage = 513;
inline constexpr int32_t kLeftButtonUpMessage = 514;
inline constexpr int32_t kLeftDoubleClickMessage = 515;
inline constexpr int32_t kRightButtonDownMessage = 516;
inline constexpr int32_t kRightButtonUpMessage = 517;
inline constexpr int32_t kRightDoubleClickMessage = 518;
inline constexpr int32_t kMiddleButtonDownMessage = 519;
inline constexpr int32_t kMiddleButtonUpMessage = 520;
inline constexpr int32_t kMiddleDoubleClickMessage = 521;
inline constexpr int32_t kWheelMessage = 522;
inline constexpr int32_t kExtraButtonDownMessage = 523;  // the back and forward buttons
inline constexpr int32_t kExtraButtonUpMessage = 524;
inline constexpr int32_t kExtraDoubleClickMessage = 525;
inline constexpr int32_t kKeyDownMessage = 256;
inline constexpr int32_t kKeyUpMessage = 257;
inline constexpr int32_t kOtherMessage = 1024;  // anything else, the wake-up included

// Creates the queue and the wake-up object. Runs once the window system is up and
// before any window exists.
void UiEventsInit();
void UiEventsEnd();

// Takes the oldest queued event and returns its code. With none queued, dispatches
// the window system's pending input (waiting for it: -1 without limit, 0 not at all,
// else up to timeout_ms) and returns the number of what it dispatched, or 0 when a
// finite wait ran out. The events that dispatch posted come with the following calls.
int32_t EventWait(int64_t timeout_ms);
// Object of the event most recently taken (control or window number); kept across a
// wait that took no event.
int64_t EventControl();
// Detail of the event most recently taken; -1 after a wait that took none.
int64_t EventDetail();
// Window number of the event most recently taken.
int64_t EventWindow();

// Queues an event: dropped while rows are added or cleared, and when it repeats the
// newest queued event exactly.
void EventPost(int32_t code, int64_t object, int64_t window, int64_t detail);
// Makes a waiting EventWait come back (it returns kOtherMessage).
void EventWakeUp();
// EventPost for any thread: the event joins the queue, as EventPost would have it, when
// the user-interface thread next calls EventWait, and a wait in progress comes back for
// it. Between UiEventsInit and UiEventsEnd only.
void EventPostFromThread(int32_t code, int64_t object, int64_t window, int64_t detail);
// Matches every value in a removal pattern.
inline constexpr int64_t kAnyValue = -1;
// Removes every queued event matching the pattern.
void EventRemove(int64_t code, int64_t object, int64_t window, int64_t detail);
// True when a queued event matches the pattern.
bool EventQueued(int64_t code, int64_t object, int64_t window, int64_t detail);
// Removes every queued event of a window.
void EventRemoveWindow(int64_t window);

// While one lives, posted events are dropped: held around adding and clearing rows,
// whose notifications must not reach the application.
class EventSuppression {
 public:
  EventSuppression();
  ~EventSuppression();
  EventSuppression(const EventSuppression&) = delete;
  EventSuppression& operator=(const EventSuppression&) = delete;
};
