#include "fs/memory_return.h"

#include <malloc.h>

void MemoryReturnLargeBlocks() {
  // A fixed threshold also stops the allocator from raising it after each large free,
  // which would move later blocks of that size into the threads' own heaps. The trim
  // threshold keeps the free top of each heap up to twice that size: below it every
  // small image's buffers would be handed back and faulted in again, image after image,
  // while larger blocks, mapped on their own, still go back as they are freed. Set once:
  // every scan asks.
  static const bool set = [] {
    constexpr int kLargeBlockBytes = 1 << 20;
    return mallopt(M_MMAP_THRESHOLD, kLargeBlockBytes) == 1 && mallopt(M_TRIM_THRESHOLD, 2 * kLargeBlockBytes) == 1;
  }();
  (void)set;
}
