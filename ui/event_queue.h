#pragma once
// The first-in first-out queue of application events of the user-interface thread.
// Plain data, no window system: the window layer posts into it and EventWait takes
// from it.
#include <cstdint>
#include <memory>
#include <vector>

#include "ui/events.h"

struct EventNode {
  EventNode* next = nullptr;
  int32_t code = 0;
  int64_t object = 0;
  int64_t window = 0;
  int64_t detail = 0;
};

struct TakenEvent {
  int32_t code = 0;  // 0: the queue was empty
  int64_t object = 0;
  int64_t window = 0;
  int64_t detail = 0;
};

class EventQueue {
 public:
  EventQueue() = default;
  EventQueue(const EventQueue&) = delete;
  EventQueue& operator=(const EventQueue&) = delete;

  // Appends an event, unless suppression is on or the newest queued event is the
  // same one (codes from 65536 on are never merged).
  void Post(int32_t code, int64_t object, int64_t window, int64_t detail);
  TakenEvent Take();
  // Unlinks every node matching the pattern; kAnyValue matches everything.
  void Remove(int64_t code, int64_t object, int64_t window, int64_t detail);
  // True when a node matches the pattern.
  bool Contains(int64_t code, int64_t object, int64_t window, int64_t detail) const;
  void RemoveWindow(int64_t window);
  bool Empty() const { return head_ == nullptr; }

  // While above 0 posted events are dropped.
  void Suppress() { ++suppression_; }
  void Unsuppress() { --suppression_; }

 private:
  EventNode* Allocate();
  void Free(EventNode* node);

  EventNode* head_ = nullptr;
  EventNode* tail_ = nullptr;
  int32_t suppression_ = 0;
  // Nodes come from fixed-size blocks that live as long as the queue; freed nodes
  // wait on a free list for reuse.
  std::vector<std::unique_ptr<EventNode[]>> blocks_;
  EventNode* free_ = nullptr;
};
