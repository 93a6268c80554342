#pragma once
// The one check made before any pixel buffer is allocated.
//
// With Linux's overcommit a huge allocation "succeeds" and filling it gets the process
// killed, so a small file that claims a huge picture must be refused before allocating:
// the pixel buffers of one load may take at most half of the physical memory.
#include <cstdint>
#include <optional>

// Half of the physical memory.
uint64_t PixelMemoryLimit();

// row_bytes x rows, when both are positive and the product, added to bytes_in_use
// (what the load already holds), stays within PixelMemoryLimit(); else nothing.
std::optional<uint64_t> PixelBufferBytes(int64_t row_bytes, int64_t rows,
                                         uint64_t bytes_in_use);
