#include "image/bitmap_shrink.h"

#include <algorithm>
#include <vector>

std::optional<Bitmap> ShrinkBitmap(const Bitmap& picture, int32_t width, int32_t height) {
  width = std::clamp(width, 1, picture.Width());
  height = std::clamp(height, 1, picture.Height());
  std::optional<Bitmap> small = Bitmap::Create(width, height, picture.Depth(), picture.SizeBytes());
  if (!small) return std::nullopt;
  const int channels = picture.Depth() / 8;
  // Which source columns each copy's column averages: [first[x], first[x + 1]).
  std::vector<int32_t> first(static_cast<size_t>(width) + 1);
  for (int32_t x = 0; x <= width; ++x)
    first[static_cast<size_t>(x)] = static_cast<int32_t>(int64_t{x} * picture.Width() / width);
  std::vector<uint64_t> sums(static_cast<size_t>(width) * static_cast<size_t>(channels));
  for (int32_t y = 0; y < height; ++y) {
    const auto top = static_cast<int32_t>(int64_t{y} * picture.Height() / height);
    const auto bottom = static_cast<int32_t>(int64_t{y + 1} * picture.Height() / height);
    std::fill(sums.begin(), sums.end(), 0);
    for (int32_t row = top; row < bottom; ++row) {
      const uint8_t* source = picture.PictureRow(row).data();
      for (int32_t x = 0; x < width; ++x)
        for (int32_t from = first[static_cast<size_t>(x)]; from < first[static_cast<size_t>(x) + 1]; ++from)
          for (int c = 0; c < channels; ++c)
            sums[static_cast<size_t>(x) * channels + c] += source[static_cast<size_t>(from) * channels + c];
    }
    // Rows lie bottom-up: the copy's picture row y is its stored row height - 1 - y.
    uint8_t* target = small->Bits() + ptrdiff_t{height - 1 - y} * small->Pitch();
    for (int32_t x = 0; x < width; ++x) {
      const uint64_t count =
          uint64_t(first[static_cast<size_t>(x) + 1] - first[static_cast<size_t>(x)]) * uint64_t(bottom - top);
      for (int c = 0; c < channels; ++c)
        target[static_cast<size_t>(x) * channels + c] =
            static_cast<uint8_t>((sums[static_cast<size_t>(x) * channels + c] + count / 2) / count);
    }
  }
  return small;
}
