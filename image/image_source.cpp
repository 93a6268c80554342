#include "image/image_source.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "fs/system_errors.h"
#include "fs/whole_file.h"

std::optional<ImageSource> ImageSource::OpenFile(const std::u16string& path, size_t first_window) {
  auto file = OpenWholeFile(path);
  if (!file) return std::nullopt;
  return ImageSource(std::move(file->file), file->size, first_window);
}

bool ImageSource::Refill(uint64_t offset, size_t count) {
  const auto want = static_cast<size_t>(std::min<uint64_t>(std::max(count, window_bytes_), size_ - offset));
  window_bytes_ = kWindowBytes;
  try {
    if (window_.size() < want) window_.resize(want);
  } catch (const std::bad_alloc&) {
    failed_ = true;
    read_error_ = kOutOfMemoryError;
    return false;
  }
  PlatformSetLastError(0);
  if (file_.ReadAt(static_cast<int64_t>(offset), window_.data(), static_cast<int64_t>(want)) !=
      static_cast<int64_t>(want)) {
    failed_ = true;
    read_error_ = PlatformLastError();
    bytes_ = {};
    return false;
  }
  bytes_ = std::span<const uint8_t>(window_).first(want);
  window_offset_ = offset;
  return true;
}

std::span<const uint8_t> ImageSource::Fetch(uint64_t offset, size_t count) {
  if (failed_ || offset >= size_) return {};
  count = static_cast<size_t>(std::min<uint64_t>(count, size_ - offset));
  if (!file_.IsOpen()) return bytes_.subspan(static_cast<size_t>(offset), count);
  const bool inside = offset >= window_offset_ && offset - window_offset_ <= bytes_.size() &&
                      count <= bytes_.size() - (offset - window_offset_);
  if (!inside && !Refill(offset, count)) return {};
  return bytes_.subspan(static_cast<size_t>(offset - window_offset_), count);
}

std::optional<ImageSize> SizeFile(const std::u16string& path, SourceSizer sizer, size_t first_window) {
  try {
    auto source = ImageSource::OpenFile(path, first_window);
    if (!source) return std::nullopt;
    return sizer(*source);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

std::optional<ImageSize> SizeMemory(std::span<const uint8_t> data, SourceSizer sizer) {
  try {
    ImageSource source(data);
    return sizer(source);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

bool ImageSource::Copy(uint64_t offset, uint8_t* out, uint64_t count) {
  if (offset > size_ || count > size_ - offset) return false;
  while (count > 0) {
    const auto piece = Fetch(offset, static_cast<size_t>(std::min<uint64_t>(count, kWindowBytes)));
    if (piece.empty()) return false;
    std::memcpy(out, piece.data(), piece.size());
    out += piece.size();
    offset += piece.size();
    count -= piece.size();
  }
  return true;
}
