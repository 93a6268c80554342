#include "fs/memory_return.h"

// The system's heap hands blocks of this size (about a megabyte and more) straight back to
// the system when they are freed, and keeps no heap per thread: nothing to arrange.
void MemoryReturnLargeBlocks() {}
