#include "image/icon_reader.h"

#include <algorithm>
#include <cstring>

#include "image/byte_reader.h"

namespace {

constexpr uint64_t kDirectoryOffset = 6;
constexpr uint64_t kEntryBytes = 16;
constexpr uint64_t kInfoHeaderBytes = 40;
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t BigEndian32(std::span<const uint8_t> b) {
  return static_cast<uint32_t>(b[0]) << 24 | static_cast<uint32_t>(b[1]) << 16 |
         static_cast<uint32_t>(b[2]) << 8 | static_cast<uint32_t>(b[3]);
}

// A PNG-compressed image: its size comes from the PNG header, and it is held at 32 bits.
// head: the image's first bytes (all of them, or at least the bitmap info header's).
std::optional<Icon> ReadPngIcon(std::span<const uint8_t> head) {
  const auto header = BytesAt(head, 0, 24);
  if (!header || std::memcmp(header->data() + 8, "\0\0\0\rIHDR", 8) != 0) {
    return std::nullopt;
  }
  const uint32_t width = BigEndian32(header->subspan(16, 4));
  const uint32_t height = BigEndian32(header->subspan(20, 4));
  if (width == 0 || height == 0 || width > INT32_MAX || height > INT32_MAX) {
    return std::nullopt;
  }
  return Icon{static_cast<int32_t>(width), static_cast<int32_t>(height), 32};
}

// A bitmap image: BITMAPINFOHEADER (its height counts colour and mask rows, so the icon
// is half as high), palette, then the colour rows, which must lie inside the image's
// image_size bytes.
std::optional<Icon> ReadBitmapIcon(std::span<const uint8_t> head, uint64_t image_size) {
  const auto header_size = U32At(head, 0);
  if (!header_size || *header_size < kInfoHeaderBytes || *header_size > image_size) {
    return std::nullopt;
  }
  const int32_t width = *I32At(head, 4);
  const int32_t height = *I32At(head, 8) / 2;
  const int bits = *U16At(head, 14);
  const uint32_t compression = *U32At(head, 16);
  const uint32_t colours_used = *U32At(head, 32);
  if (width <= 0 || height <= 0) return std::nullopt;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
    return std::nullopt;
  }
  uint64_t palette = 0;
  if (bits <= 8) palette = 4 * uint64_t{colours_used != 0 ? colours_used : 1u << bits};
  if (compression == 3 && bits >= 16) palette = 12;  // the three colour masks
  const uint64_t stride = (uint64_t(width) * uint64_t(bits) + 31) / 32 * 4;
  const uint64_t room = image_size - *header_size;
  if (palette > room || uint64_t(height) > (room - palette) / stride) return std::nullopt;
  return Icon{width, height, bits};
}

}  // namespace

std::optional<Icon> ReadIcon(ImageSource& source) {
  const auto start = source.Fetch(0, kDirectoryOffset);
  const auto reserved = U16At(start, 0);
  const auto type = U16At(start, 2);
  const auto count = U16At(start, 4);
  if (!reserved || !type || !count || *reserved != 0 || *type != 1 || *count == 0) {
    return std::nullopt;
  }
  const uint64_t directory_bytes = kEntryBytes * *count;
  const auto directory = source.Fetch(kDirectoryOffset, directory_bytes);
  if (directory.size() < directory_bytes) return std::nullopt;

  const auto entry = [&](unsigned i) { return directory.subspan(i * kEntryBytes, kEntryBytes); };
  unsigned best = 0;
  for (unsigned i = 1; i < *count; ++i) {
    const auto e = entry(i);
    if (e[0] == entry(0)[0] && e[1] == entry(0)[1] && *U16At(e, 6) > *U16At(entry(best), 6)) {
      best = i;
    }
  }
  const uint64_t offset = *U32At(entry(best), 12);
  const uint64_t image_size = *U32At(entry(best), 8);
  if (offset > source.Size() || image_size > source.Size() - offset) return std::nullopt;
  // The headers are all that is read of the image; its size is checked against the data.
  const auto head = source.Fetch(offset, std::min<uint64_t>(image_size, kInfoHeaderBytes));
  const auto signature = BytesAt(head, 0, sizeof kPngSignature);
  if (signature && std::memcmp(signature->data(), kPngSignature, sizeof kPngSignature) == 0) {
    return ReadPngIcon(head);
  }
  return ReadBitmapIcon(head, image_size);
}
