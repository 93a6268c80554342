#pragma once
// The pixel store: bottom-up rows padded to 4 bytes, blue-green-red(-alpha) bytes,
// 24 or 32 bits per pixel, zero-filled when made.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

class Bitmap {
 public:
  // A zero-filled bitmap, or nothing when the size is not positive, depth is not 24 or
  // 32, the buffer would break the pixel limit (counting bytes_in_use, see
  // pixel_limit.h) or memory cannot be had.
  static std::optional<Bitmap> Create(int32_t width, int32_t height, int depth, uint64_t bytes_in_use);

  // The bytes Create would allocate, or nothing where it refuses before allocating.
  static std::optional<uint64_t> Bytes(int32_t width, int32_t height, int depth, uint64_t bytes_in_use);

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  int Depth() const { return depth_; }
  // Bytes from one row to the next: ((3 x width + 3) / 4) x 4 at 24 bits, 4 x width at 32.
  ptrdiff_t Pitch() const { return pitch_; }
  size_t SizeBytes() const { return static_cast<size_t>(pitch_) * static_cast<size_t>(height_); }
  uint8_t* Bits() { return bits_.get(); }
  const uint8_t* Bits() const { return bits_.get(); }
  // The pixel bytes of the row y rows from the picture's top (stored last-first);
  // empty for a row outside the bitmap.
  std::span<const uint8_t> PictureRow(int32_t y) const;

 private:
  struct Free {
    void operator()(uint8_t* bits) const;
  };
  Bitmap(int32_t width, int32_t height, int depth, ptrdiff_t pitch, uint8_t* bits)
      : width_(width), height_(height), depth_(depth), pitch_(pitch), bits_(bits) {}

  int32_t width_;
  int32_t height_;
  int depth_;
  ptrdiff_t pitch_;
  std::unique_ptr<uint8_t, Free> bits_;
};
