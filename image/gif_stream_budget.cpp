#include "image/gif_stream_budget.h"

namespace {

// giflib's record of an image (SavedImage, colour map object, allocation headers) and
// the loader's frame entry.
constexpr uint64_t kImageCost = 256;
// giflib's ExtensionBlock entry and the allocation header of its bytes.
constexpr uint64_t kSubBlockCost = 64;

}  // namespace

bool SkipGifSubBlocks(ImageSource& source, uint64_t& at, uint64_t& held, bool charge) {
  for (;;) {
    const auto size = source.Fetch(at, 1);
    if (size.empty()) return false;
    at += 1;
    const uint8_t count = size[0];
    if (count == 0) return true;
    if (count > source.Size() - at) return false;
    at += count;
    if (charge) held += kSubBlockCost + count;
  }
}

uint64_t GifStreamHeldBytes(ImageSource& source, uint64_t offset) {
  uint64_t held = 0;
  uint64_t at = offset;
  for (;;) {
    const auto type = source.Fetch(at, 1);
    if (type.empty()) return held;
    const uint8_t record = type[0];
    at += 1;
    if (record == kGifImageRecord) {
      const auto descriptor = source.Fetch(at, kGifDescriptorBytes);
      if (descriptor.size() < kGifDescriptorBytes) return held;
      at += kGifDescriptorBytes;
      const uint64_t width = descriptor[4] | descriptor[5] << 8;
      const uint64_t height = descriptor[6] | descriptor[7] << 8;
      const uint8_t flags = descriptor[8];
      const uint64_t map_bytes = (flags & 0x80) ? 3u << ((flags & 7) + 1) : 0;
      held += kImageCost + map_bytes + width * height;
      at += map_bytes + 1;  // the colour map, then the code size
      if (!SkipGifSubBlocks(source, at, held, false)) return held;
    } else if (record == kGifExtensionRecord) {
      at += 1;  // the function code
      held += kSubBlockCost;
      if (!SkipGifSubBlocks(source, at, held, true)) return held;
    } else {
      return held;  // the trailer, or a byte that begins no record
    }
  }
}
