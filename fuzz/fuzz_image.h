#pragma once
// Loading fuzzed bytes through the numbered image table.
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "fs/object_table.h"
#include "image/image_loader.h"
#include "image/image_measure.h"
#include "image/image_table.h"

// The size DecodeImageMemory gives, or nothing when it fails. A loaded image without a
// positive size is a finding.
inline std::optional<ImageSize> LoadedSize(const uint8_t* data, size_t size) {
  const int64_t image = DecodeImageMemory(kAutoNumber, {data, size});
  if (image == 0) return std::nullopt;
  const ImageSize loaded{static_cast<int32_t>(ImagePixelWidth(image)), static_cast<int32_t>(ImagePixelHeight(image))};
  ReleaseImage(image);
  if (loaded.width <= 0 || loaded.height <= 0) std::abort();
  return loaded;
}
