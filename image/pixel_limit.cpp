#include "image/pixel_limit.h"

#include <atomic>

#include "fs/physical_memory.h"

namespace {

std::atomic<uint64_t> g_memory_for_testing{0};

}  // namespace

uint64_t PixelMemoryLimit() {
  const uint64_t injected = g_memory_for_testing.load(std::memory_order_relaxed);
  return (injected != 0 ? injected : PhysicalMemoryBytes()) / 2;
}

void SetMemoryBytesForTesting(uint64_t bytes) { g_memory_for_testing.store(bytes, std::memory_order_relaxed); }

std::optional<uint64_t> PixelBufferBytes(int64_t row_bytes, int64_t rows, uint64_t bytes_in_use) {
  if (row_bytes <= 0 || rows <= 0) return std::nullopt;
  const uint64_t limit = PixelMemoryLimit();
  if (bytes_in_use > limit) return std::nullopt;
  const uint64_t room = limit - bytes_in_use;
  const auto width = static_cast<uint64_t>(row_bytes);
  const auto height = static_cast<uint64_t>(rows);
  if (width > room / height) return std::nullopt;
  return width * height;
}
