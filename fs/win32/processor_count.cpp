#include "fs/processor_count.h"

#include <windows.h>

#include <algorithm>
#include <bit>
#include <thread>

int ProcessorCount() {
  int count = static_cast<int>(std::thread::hardware_concurrency());
  // A start with an affinity mask, or a job's, may allow fewer processors than the
  // machine has.
  DWORD_PTR process_mask = 0;
  DWORD_PTR system_mask = 0;
  if (GetProcessAffinityMask(GetCurrentProcess(), &process_mask, &system_mask) && process_mask != 0) {
    const int affinity = std::popcount(static_cast<uint64_t>(process_mask));
    count = count > 0 ? std::min(count, affinity) : affinity;
  }
  return std::max(count, 1);
}
