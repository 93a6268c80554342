#include "fs/memory_block.h"

#include <cstdlib>
#include <cstring>

#include "fs/platform_file.h"
#include "fs/system_errors.h"

void* MemoryAllocate(int64_t size) {
  if (size <= 0 || static_cast<uint64_t>(size) > SIZE_MAX) return nullptr;
  void* block = std::calloc(1, static_cast<size_t>(size));
  // Told like a system call's failure, so that a caller can tell it from bad content.
  if (block == nullptr) PlatformSetLastError(kOutOfMemoryError);
  return block;
}

void* MemoryCopy(const void* source, void* destination, int64_t count) {
  if (count <= 0) return destination;
  std::memmove(destination, source, static_cast<size_t>(count));
  return static_cast<char*>(destination) + count;
}

void MemoryFree(void* block) { std::free(block); }
