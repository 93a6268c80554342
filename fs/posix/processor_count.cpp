#include "fs/processor_count.h"

#include <sched.h>

#include <algorithm>
#include <thread>

int ProcessorCount() {
  int count = static_cast<int>(std::thread::hardware_concurrency());
  // A task set or a container's cpuset may allow fewer processors than the machine has.
  cpu_set_t allowed;
  CPU_ZERO(&allowed);
  if (sched_getaffinity(0, sizeof(allowed), &allowed) == 0) {
    const int affinity = CPU_COUNT(&allowed);
    count = count > 0 ? std::min(count, affinity) : affinity;
  }
  return std::max(count, 1);
}
