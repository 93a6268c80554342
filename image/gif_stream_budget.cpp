#include "image/gif_stream_budget.h"

#include "image/byte_reader.h"

namespace {

constexpr uint8_t kImageRecord = 0x2C;
constexpr uint8_t kExtensionRecord = 0x21;
// giflib's record of an image (SavedImage, colour map object, allocation headers) and
// the loader's frame entry.
constexpr uint64_t kImageCost = 256;
// giflib's ExtensionBlock entry and the allocation header of its bytes.
constexpr uint64_t kSubBlockCost = 64;
constexpr uint64_t kDescriptorBytes = 9;

// Skips sub-blocks up to and including the empty one that ends them, charging each
// non-empty one to held when charge is set. False when the data ends first.
bool SkipSubBlocks(std::span<const uint8_t> data, uint64_t& at, uint64_t& held, bool charge) {
  for (;;) {
    const auto size = BytesAt(data, at, 1);
    if (!size) return false;
    at += 1;
    if ((*size)[0] == 0) return true;
    if (!BytesAt(data, at, (*size)[0])) return false;
    at += (*size)[0];
    if (charge) held += kSubBlockCost + (*size)[0];
  }
}

}  // namespace

uint64_t GifStreamHeldBytes(std::span<const uint8_t> data, uint64_t offset) {
  uint64_t held = 0;
  uint64_t at = offset;
  for (;;) {
    const auto type = BytesAt(data, at, 1);
    if (!type) return held;
    at += 1;
    if ((*type)[0] == kImageRecord) {
      const auto descriptor = BytesAt(data, at, kDescriptorBytes);
      if (!descriptor) return held;
      at += kDescriptorBytes;
      const uint64_t width = *U16At(*descriptor, 4);
      const uint64_t height = *U16At(*descriptor, 6);
      const uint8_t flags = (*descriptor)[8];
      const uint64_t map_bytes = (flags & 0x80) ? 3u << ((flags & 7) + 1) : 0;
      held += kImageCost + map_bytes + width * height;
      at += map_bytes + 1;  // the colour map, then the code size
      if (!SkipSubBlocks(data, at, held, false)) return held;
    } else if ((*type)[0] == kExtensionRecord) {
      at += 1;  // the function code
      held += kSubBlockCost;
      if (!SkipSubBlocks(data, at, held, true)) return held;
    } else {
      return held;  // the trailer, or a byte that begins no record
    }
  }
}
