#include "fs/memory_return.h"

#include <malloc.h>

void MemoryReturnLargeBlocks() {
  // A fixed threshold also stops the allocator from raising it after each large free,
  // which would move later blocks of that size into the threads' own heaps.
  constexpr int kLargeBlockBytes = 1 << 20;
  mallopt(M_MMAP_THRESHOLD, kLargeBlockBytes);
}
