#pragma once
// Raw zero-filled memory blocks on the program's heap.
#include <cstdint>

// A zero-filled block; null when size is 0 or negative or memory is exhausted.
void* MemoryAllocate(int64_t size);
// Copies count bytes and returns the address just past them in the destination.
void* MemoryCopy(const void* source, void* destination, int64_t count);
void MemoryFree(void* block);
