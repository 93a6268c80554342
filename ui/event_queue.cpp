#include "ui/event_queue.h"

#include <cstddef>

namespace {

constexpr size_t kNodesPerBlock = 64;
constexpr int32_t kFirstUnmergedCode = 65536;

bool Matches(int64_t pattern, int64_t value) { return pattern == kAnyValue || pattern == value; }

bool NodeMatches(const EventNode& node, int64_t code, int64_t object, int64_t window, int64_t detail) {
  return Matches(code, node.code) && Matches(object, node.object) && Matches(window, node.window) &&
         Matches(detail, node.detail);
}

}  // namespace

EventNode* EventQueue::Allocate() {
  if (!free_) {
    blocks_.push_back(std::make_unique<EventNode[]>(kNodesPerBlock));
    EventNode* block = blocks_.back().get();
    for (size_t i = 0; i < kNodesPerBlock; ++i) Free(&block[i]);
  }
  EventNode* node = free_;
  free_ = node->next;
  *node = EventNode{};
  return node;
}

void EventQueue::Free(EventNode* node) {
  node->next = free_;
  free_ = node;
}

void EventQueue::Post(int32_t code, int64_t object, int64_t window, int64_t detail) {
  if (suppression_ > 0) return;
  if (tail_ && code < kFirstUnmergedCode && tail_->code == code && tail_->object == object && tail_->window == window &&
      tail_->detail == detail)
    return;
  EventNode* node = Allocate();
  node->code = code;
  node->object = object;
  node->window = window;
  node->detail = detail;
  if (tail_)
    tail_->next = node;
  else
    head_ = node;
  tail_ = node;
}

TakenEvent EventQueue::Take() {
  if (!head_) return {};
  EventNode* node = head_;
  head_ = node->next;
  if (!head_) tail_ = nullptr;
  const TakenEvent taken{node->code, node->object, node->window, node->detail};
  Free(node);
  return taken;
}

void EventQueue::Remove(int64_t code, int64_t object, int64_t window, int64_t detail) {
  EventNode* previous = nullptr;
  EventNode* node = head_;
  while (node) {
    EventNode* next = node->next;
    if (NodeMatches(*node, code, object, window, detail)) {
      if (previous)
        previous->next = next;
      else
        head_ = next;
      if (tail_ == node) tail_ = previous;
      Free(node);
    } else {
      previous = node;
    }
    node = next;
  }
}

bool EventQueue::Contains(int64_t code, int64_t object, int64_t window, int64_t detail) const {
  for (const EventNode* node = head_; node; node = node->next)
    if (NodeMatches(*node, code, object, window, detail)) return true;
  return false;
}

void EventQueue::RemoveWindow(int64_t window) {
  // -1 is no window's number; as a pattern it would empty the whole queue.
  if (window == kAnyValue) return;
  Remove(kAnyValue, kAnyValue, window, kAnyValue);
}
