#include "fs/memory_block.h"

#include <cstdlib>
#include <cstring>

void* MemoryAllocate(int64_t size) {
  if (size <= 0 || static_cast<uint64_t>(size) > SIZE_MAX) return nullptr;
  return std::calloc(1, static_cast<size_t>(size));
}

void* MemoryCopy(const void* source, void* destination, int64_t count) {
  if (count <= 0) return destination;
  std::memmove(destination, source, static_cast<size_t>(count));
  return static_cast<char*>(destination) + count;
}

void MemoryFree(void* block) { std::free(block); }
