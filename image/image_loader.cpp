#include "image/image_loader.h"

#include <new>

#include "fs/whole_file.h"
#include "image/decoder_registry.h"
#include "image/image_picture.h"
#include "image/image_table.h"

namespace {

// The opaque non-zero handle answered for a slot: the address of what frame 0 holds.
int64_t Handle(const void* object) { return static_cast<int64_t>(reinterpret_cast<intptr_t>(object)); }

// An icon keeps what its Check read; no frame is made of it.
ImageRecord IconRecord(const DecodeContext& context) {
  ImageRecord record;
  record.icon = Icon{context.width, context.height, context.depth};
  record.width = context.width;
  record.height = context.height;
  record.depth = context.depth;
  record.source_depth = context.source_depth;
  record.format_id = kFormatIcon;
  record.frame_count = 1;
  return record;
}

// Decodes every frame into a bitmap of its own; nothing where frame 0 fails. A later
// frame that fails keeps an entry without a bitmap.
std::optional<ImageRecord> DecodeAllFrames(DecodeContext& context) {
  const DecoderDescriptor& decoder = *context.decoder;
  ImageRecord record;
  record.format_id = decoder.format_id;
  record.width = context.width;
  record.height = context.height;
  record.depth = context.depth;
  record.source_depth = context.source_depth;
  record.frame_count = context.frame_count;
  const int32_t frames = context.frame_count < 2 ? 1 : context.frame_count;
  for (int32_t i = 0; i < frames; ++i) {
    ImageFrame frame;
    frame.bitmap = DecodeNextFrame(context);
    frame.delay = context.frame_delay;
    if (i == 0 && !frame.bitmap) break;
    record.frames.push_back(std::move(frame));
  }
  decoder.finish(context);
  if (record.frames.empty()) return std::nullopt;
  return record;
}

// The record for the data, or nothing where it fails (memory running out included).
std::optional<ImageRecord> DecodeImageRecord(std::span<const uint8_t> data) {
  try {
    ImageSource source(data);
    DecodeContext context;
    const DecoderDescriptor* decoder = RunDecoderTrial(context, source);
    if (!decoder) return std::nullopt;
    if (decoder->makes_no_bitmap) {
      decoder->finish(context);
      return IconRecord(context);
    }
    return DecodeAllFrames(context);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace

int64_t DecodeImageMemory(int64_t number, std::span<const uint8_t> data) {
  ObjectTable<ImageRecord>* table = ImageTable();
  if (!table) return 0;
  ObjectTable<ImageRecord>::Taken taken;
  try {
    taken = table->Take(number);
  } catch (const std::bad_alloc&) {
    return 0;
  }
  if (!taken.record) return 0;
  auto record = DecodeImageRecord(data);
  if (!record) {
    table->Release(taken.id);  // a fresh record is freed, a slot left empty
    return 0;
  }
  ImageRecord& slot = *taken.record;
  slot = std::move(*record);
  const int64_t handle = slot.icon ? Handle(&*slot.icon) : Handle(slot.frames[0].bitmap->Bits());
  return number == kAutoNumber ? taken.id : handle;
}

int64_t ReadImageFile(int64_t number, const std::u16string& path) {
  try {
    const auto file = ReadWholeFile(path);
    if (!file) return 0;
    return DecodeImageMemory(number, file->Bytes());
  } catch (const std::bad_alloc&) {
    return 0;
  }
}
