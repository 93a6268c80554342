#pragma once
// Waiting for what another process or thread brings about, with a limit far beyond what
// a busy machine needs, instead of for a fixed time.
#include <chrono>
#include <thread>

// True once `condition` holds; false when it still does not once `limit` has passed.
template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds limit = std::chrono::seconds(60)) {
  const auto give_up = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > give_up) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}
