#pragma once
// A value that a signal handler reads while the program may replace it at any moment.
#include <atomic>

// Two slots: a new value goes into the one the handler is not reading, then becomes the
// current one, so the handler always reads a whole value.
template <typename T>
class SignalSlot {
 public:
  static_assert(std::atomic<const T*>::is_always_lock_free, "read from a signal handler");

  // Copies the value (null: none).
  void Set(const T* value) {
    current_.store(nullptr);
    if (value == nullptr) return;
    T& slot = slots_[next_];
    next_ ^= 1;
    slot = *value;
    current_.store(&slot);
  }
  const T* Get() const { return current_.load(); }

 private:
  T slots_[2];
  int next_ = 0;
  std::atomic<const T*> current_{nullptr};
};
