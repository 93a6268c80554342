#pragma once
// A descriptor closed when it goes out of scope.
#include <unistd.h>

#include <utility>

struct Descriptor {
  int fd = -1;
  Descriptor() = default;
  explicit Descriptor(int owned) : fd(owned) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
  // Gives the descriptor up to the caller.
  int Release() { return std::exchange(fd, -1); }
};
