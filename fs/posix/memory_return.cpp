#include "fs/memory_return.h"

#include <malloc.h>

void MemoryReturnLargeBlocks() {
  // A fixed threshold also stops the allocator from raising it after each large free,
  // which would move later blocks of that size into the threads' own heaps. Set once:
  // every scan asks.
  static const bool set = [] {
    constexpr int kLargeBlockBytes = 1 << 20;
    return mallopt(M_MMAP_THRESHOLD, kLargeBlockBytes) == 1;
  }();
  (void)set;
}
