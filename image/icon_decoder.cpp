#include "image/icon_decoder.h"

#include <algorithm>

#include "image/byte_reader.h"
#include "image/png_header.h"

namespace {

constexpr uint64_t kDirectoryOffset = 6;
constexpr uint64_t kEntryBytes = 16;
constexpr uint64_t kInfoHeaderBytes = 40;

// A PNG-compressed image: its size comes from the PNG header, and it is held at 32 bits.
// head: the image's first bytes (all of them, or at least the bitmap info header's).
std::optional<Icon> ReadPngIcon(std::span<const uint8_t> head) {
  const std::optional<PngHeader> header = ReadPngHeader(head);
  if (!header || header->width == 0 || header->height == 0 || header->width > INT32_MAX || header->height > INT32_MAX) {
    return std::nullopt;
  }
  return Icon{static_cast<int32_t>(header->width), static_cast<int32_t>(header->height), 32};
}

// A bitmap image: BITMAPINFOHEADER (its height counts colour and mask rows, so the icon
// is half as high), palette, then the colour rows, which must lie inside the image's
// image_size bytes.
std::optional<Icon> ReadBitmapIcon(std::span<const uint8_t> head, uint64_t image_size) {
  const auto header = FixedAt<kInfoHeaderBytes>(head, 0);
  if (!header) return std::nullopt;
  const uint32_t header_size = Le32<0>(*header);
  if (header_size < kInfoHeaderBytes || header_size > image_size) return std::nullopt;
  const int32_t width = LeI32<4>(*header);
  const int32_t height = LeI32<8>(*header) / 2;
  const int bits = Le16<14>(*header);
  const uint32_t compression = Le32<16>(*header);
  const uint32_t colours_used = Le32<32>(*header);
  if (width <= 0 || height <= 0) return std::nullopt;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
    return std::nullopt;
  }
  uint64_t palette = 0;
  if (bits <= 8) palette = 4 * uint64_t{colours_used != 0 ? colours_used : 1u << bits};
  if (compression == 3 && bits >= 16) palette = 12;  // the three colour masks
  const uint64_t stride = (uint64_t(width) * uint64_t(bits) + 31) / 32 * 4;
  const uint64_t room = image_size - header_size;
  if (palette > room || uint64_t(height) > (room - palette) / stride) return std::nullopt;
  return Icon{width, height, bits};
}

bool IconSniff(std::span<const uint8_t> head) {
  return head.size() >= 4 && head[0] == 0 && head[1] == 0 && head[2] == 1 && head[3] == 0;
}

std::optional<ImageSize> IconHeaderSize(ImageSource& source) {
  const auto icon = ReadIcon(source);
  if (!icon) return std::nullopt;
  return ImageSize{icon->width, icon->height};
}

bool IconCheck(DecodeContext& context) {
  const auto icon = ReadIcon(*context.source);
  if (!icon) return false;
  context.width = icon->width;
  context.height = icon->height;
  context.depth = icon->bits;
  context.source_depth = icon->bits;
  return true;
}

// What Check read is all the loader keeps of an icon.
bool IconMeasure(DecodeContext&) { return true; }
bool IconDecode(DecodeContext&, uint8_t*, ptrdiff_t, uint32_t) { return false; }

constexpr DecoderDescriptor kIconDecoder{.name = "icon",
                                         .format_id = kFormatIcon,
                                         .sniff = IconSniff,
                                         .header_size = IconHeaderSize,
                                         .check = IconCheck,
                                         .measure = IconMeasure,
                                         .decode = IconDecode,
                                         .finish = FinishDecoder,
                                         .makes_no_bitmap = true};

}  // namespace

std::optional<Icon> ReadIcon(ImageSource& source) {
  const auto start = source.Fetch(0, kDirectoryOffset);
  const auto fixed = FixedAt<kDirectoryOffset>(start, 0);
  if (!fixed || Le16<0>(*fixed) != 0 || Le16<2>(*fixed) != 1 || Le16<4>(*fixed) == 0) {
    return std::nullopt;
  }
  const unsigned count = Le16<4>(*fixed);
  const uint64_t directory_bytes = kEntryBytes * count;
  const auto directory = source.Fetch(kDirectoryOffset, directory_bytes);
  if (directory.size() < directory_bytes) return std::nullopt;

  const auto entry = [&](unsigned i) { return directory.subspan(i * kEntryBytes).first<kEntryBytes>(); };
  unsigned best = 0;
  for (unsigned i = 1; i < count; ++i) {
    const auto e = entry(i);
    if (e[0] == entry(0)[0] && e[1] == entry(0)[1] && Le16<6>(e) > Le16<6>(entry(best))) best = i;
  }
  const uint64_t offset = Le32<12>(entry(best));
  const uint64_t image_size = Le32<8>(entry(best));
  if (offset > source.Size() || image_size > source.Size() - offset) return std::nullopt;
  // The headers are all that is read of the image; its size is checked against the data.
  const auto head = source.Fetch(offset, std::min<uint64_t>(image_size, kInfoHeaderBytes));
  if (PngSignatureAt(head)) return ReadPngIcon(head);
  return ReadBitmapIcon(head, image_size);
}

const DecoderDescriptor& IconDescriptor() { return kIconDecoder; }
