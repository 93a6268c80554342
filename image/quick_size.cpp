#include "image/quick_size.h"

#include "image/bitmap.h"
#include "image/decoder_registry.h"
#include "image/image_source.h"

// The first format whose sniff takes the data decides: no other is asked.
std::optional<ImageSize> QuickImageSourceSize(ImageSource& source) {
  const DecoderDescriptor* decoder = SniffDecoder(source);
  const auto size = decoder ? decoder->header_size(source) : std::nullopt;
  if (source.Failed() || !size) return std::nullopt;
  // A picture whose smallest bitmap breaks the pixel limit is never loaded. Icons make
  // no bitmap, and a Radiance file keeps the size of its resolution line.
  const bool bitmap = !decoder->makes_no_bitmap && decoder->decodes;
  if (bitmap && !Bitmap::Bytes(size->width, size->height, 24, 0)) return std::nullopt;
  return size;
}

std::optional<ImageSize> QuickImageSize(std::span<const uint8_t> data) {
  return SizeMemory(data, QuickImageSourceSize);
}

std::optional<ImageSize> QuickImageFileSize(const std::u16string& path) {
  // Most headers lie in the first few KiB: reading more would cost every file.
  return SizeFile(path, QuickImageSourceSize, ImageSource::kHeaderWindowBytes);
}
