#include "image/image_picture.h"

#include <new>

#include "fs/whole_file.h"
#include "image/decoder_registry.h"

std::optional<Bitmap> DecodeNextFrame(DecodeContext& context) {
  auto frame = Bitmap::Create(context.width, context.height, context.depth, context.pixel_bytes_in_use);
  if (!frame) return std::nullopt;
  // Counted before decoding: whatever the decoder makes must fit beside it.
  context.pixel_bytes_in_use += frame->SizeBytes();
  if (context.decoder->decode(context, frame->Bits(), frame->Pitch(), kBottomUp)) return frame;
  context.pixel_bytes_in_use -= frame->SizeBytes();
  return std::nullopt;
}

std::optional<Bitmap> ReadImagePicture(const std::u16string& path) {
  try {
    const auto file = ReadWholeFile(path);
    if (!file) return std::nullopt;
    ImageSource source(file->Bytes());
    DecodeContext context;
    const DecoderDescriptor* decoder = RunDecoderTrial(context, source);
    if (!decoder) return std::nullopt;
    std::optional<Bitmap> picture;
    if (!decoder->makes_no_bitmap) picture = DecodeNextFrame(context);
    decoder->finish(context);
    return picture;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}
