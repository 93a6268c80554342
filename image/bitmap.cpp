#include "image/bitmap.h"

#include "fs/memory_block.h"
#include "image/pixel_limit.h"

void Bitmap::Free::operator()(uint8_t* bits) const { MemoryFree(bits); }

namespace {

int64_t PitchFor(int32_t width, int depth) {
  return depth == 24 ? (3 * int64_t{width} + 3) / 4 * 4 : 4 * int64_t{width};
}

}  // namespace

std::optional<uint64_t> Bitmap::Bytes(int32_t width, int32_t height, int depth, uint64_t bytes_in_use) {
  if (width <= 0 || height <= 0 || (depth != 24 && depth != 32)) return std::nullopt;
  return PixelBufferBytes(PitchFor(width, depth), height, bytes_in_use);
}

std::optional<Bitmap> Bitmap::Create(int32_t width, int32_t height, int depth, uint64_t bytes_in_use) {
  const auto bytes = Bytes(width, height, depth, bytes_in_use);
  if (!bytes) return std::nullopt;
  auto* bits = static_cast<uint8_t*>(MemoryAllocate(static_cast<int64_t>(*bytes)));
  if (!bits) return std::nullopt;
  return Bitmap(width, height, depth, static_cast<ptrdiff_t>(PitchFor(width, depth)), bits);
}

std::span<const uint8_t> Bitmap::PictureRow(int32_t y) const {
  if (y < 0 || y >= height_) return {};
  const ptrdiff_t row = ptrdiff_t{height_} - 1 - y;
  return {bits_.get() + row * pitch_, static_cast<size_t>(width_) * (depth_ / 8)};
}
