#pragma once
// The loop behind PlatformFile's reads and writes, shared by the platforms.
#include <algorithm>
#include <cstdint>

// Single system calls stay well inside what every platform's read and write accept.
inline constexpr int64_t kMaxTransfer = int64_t{1} << 30;

// Moves up to `count` bytes a piece at a time: `piece(done, size)` moves at most `size`
// bytes at offset `done` and returns how many it moved, 0 at the end, or -1 on a failure
// (which it has recorded with PlatformSetLastError). The result is the total moved.
template <typename Piece>
int64_t TransferInPieces(int64_t count, Piece piece) {
  int64_t total = 0;
  while (total < count) {
    const int64_t done = piece(total, std::min(count - total, kMaxTransfer));
    if (done <= 0) break;
    total += done;
  }
  return total;
}
