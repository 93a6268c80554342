#include "image/image_measure.h"

#include "image/bitmap.h"
#include "image/decoder_registry.h"
#include "image/image_source.h"

std::optional<ImageSize> MeasureImageSource(ImageSource& source) {
  std::optional<ImageSize> size;
  DecodeContext context;
  const DecoderDescriptor* decoder = RunDecoderTrial(context, source, DecodeGoal::Measure);
  if (decoder && decoder->makes_no_bitmap) {
    size = ImageSize{context.width, context.height};  // no bitmap is made of an icon
  } else if (decoder) {
    // Frame 0's bitmap is counted first, as the loader counts it before decoding into it.
    const auto bitmap = Bitmap::Bytes(context.width, context.height, context.depth, context.pixel_bytes_in_use);
    if (bitmap) {
      context.pixel_bytes_in_use += *bitmap;
      if (decoder->measure(context)) size = ImageSize{context.width, context.height};
    }
  }
  // A file that could not be read whole is not loaded, whatever its bytes said.
  if (source.Failed()) return std::nullopt;
  return size;
}

std::optional<ImageSize> MeasureImageFile(const std::u16string& path) { return SizeFile(path, MeasureImageSource); }

std::optional<ImageSize> MeasureImageMemory(std::span<const uint8_t> data) {
  return SizeMemory(data, MeasureImageSource);
}
