#pragma once
// The one check made before any pixel buffer is allocated.
//
// With Linux's overcommit a huge allocation "succeeds" and filling it gets the process
// killed, so a small file that claims a huge picture must be refused before allocating:
// the pixel buffers of one load, and the memory a decoding library takes for the
// picture, may together take at most half of the memory the process may use.
#include <cstdint>
#include <optional>

// Half of PhysicalMemoryBytes().
uint64_t PixelMemoryLimit();
// Makes the limit half of bytes instead, so tests can meet it with small pictures; 0
// restores the system's.
void SetMemoryBytesForTesting(uint64_t bytes);

// row_bytes x rows, when both are positive and the product, added to bytes_in_use
// (what the load already holds), stays within PixelMemoryLimit(); else nothing.
std::optional<uint64_t> PixelBufferBytes(int64_t row_bytes, int64_t rows, uint64_t bytes_in_use);
