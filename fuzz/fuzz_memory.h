#pragma once
// The memory a fuzz target lets the decoders take: far below libFuzzer's own limits
// (-rss_limit_mb, -malloc_limit_mb: 2048 MB), so a picture that fits the decoders' budget
// is never reported as running out of memory, and the runs stay light on a shared machine.
#include <cstdint>

#include "image/pixel_limit.h"

inline constexpr uint64_t kFuzzMemoryBytes = uint64_t{256} << 20;  // pixels: half of it

inline void LimitFuzzMemory() { SetMemoryBytesForTesting(kFuzzMemoryBytes); }
