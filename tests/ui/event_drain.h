#pragma once
// Letting the window system work off what it has pending, and taking the events that
// posts: the window layer's tests on either window system.
#include <cstdint>
#include <vector>

#include "ui/events.h"

// Work the window system does from its own queue or timers (repaints) is due within this.
inline constexpr int64_t kSettleMs = 20;

// Dispatches what the window system has pending and takes every queued event; returns
// the codes.
inline std::vector<int32_t> DrainEvents() {
  std::vector<int32_t> codes;
  for (int rounds = 0; rounds < 1000; ++rounds) {
    const int32_t code = EventWait(kSettleMs);
    if (code == 0) break;
    codes.push_back(code);
  }
  return codes;
}

struct SeenControlEvent {
  int64_t object;
  int64_t window;
  int64_t detail;
  bool operator==(const SeenControlEvent&) const = default;
};

// Drains as DrainEvents does and keeps the ControlEvents, in order.
inline std::vector<SeenControlEvent> DrainControlEvents() {
  std::vector<SeenControlEvent> seen;
  for (int rounds = 0; rounds < 1000; ++rounds) {
    const int32_t code = EventWait(kSettleMs);
    if (code == 0) break;
    if (code == ControlEvent) seen.push_back({EventControl(), EventWindow(), EventDetail()});
  }
  return seen;
}
