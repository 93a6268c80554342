#include "image/image_measure.h"

#include <new>

#include "fs/whole_file.h"
#include "image/image_decode.h"

std::optional<ImageSize> MeasureImageFile(const std::u16string& path) {
  try {
    const auto file = ReadWholeFile(path);
    if (!file) return std::nullopt;
    const auto record = DecodeImageRecord(file->Bytes());
    if (!record) return std::nullopt;
    return ImageSize{record->width, record->height};
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}
