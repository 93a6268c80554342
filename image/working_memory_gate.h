#pragma once
// Measurements running at once on several threads each may need a large buffer (libjpeg
// holds rows of a progressive stream's coefficients, 3 MB for a picture 12000 pixels
// wide, more for wider ones). A measurement that needs one waits until the buffers the
// others hold leave room for it within one shared allowance, or until it is alone:
// together they never hold much more than the largest one alone. Only the order of the
// work changes, never a result.
#include <cstdint>

class WorkingMemoryTicket {
 public:
  WorkingMemoryTicket() = default;
  WorkingMemoryTicket(const WorkingMemoryTicket&) = delete;
  WorkingMemoryTicket& operator=(const WorkingMemoryTicket&) = delete;
  ~WorkingMemoryTicket() { Leave(); }

  // Waits for room for bytes, then holds them until Leave or destruction. A ticket
  // holds at most one amount: entering again leaves first.
  void Enter(uint64_t bytes);
  void Leave();

 private:
  uint64_t bytes_ = 0;
};

// Measurements waiting in Enter now.
int WorkingMemoryWaiting();

// Buffers smaller than this never wait.
inline constexpr uint64_t kWorkingMemoryUnwatched = uint64_t{1} << 20;
// What all measurements together may hold at once, unless one alone needs more.
inline constexpr uint64_t kWorkingMemoryAllowance = uint64_t{24} << 20;
