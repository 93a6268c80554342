#pragma once
// The bytes of an image, read in pieces as a decoder asks for them: a file read through
// a small window, or bytes already in memory. Either way the size is fixed when the
// source is made, so a decoder sees the same data whichever it reads.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "fs/platform_file.h"
#include "image/image_size.h"

class ImageSource {
 public:
  // Bytes read from a file at a time: large enough that a decoder's small requests
  // seldom reach the system, small enough that measuring stays lean.
  static constexpr size_t kWindowBytes = size_t{64} << 10;
  // Enough for the header of every format but a JPEG with large metadata first: what a
  // reader of headers alone asks for at first.
  static constexpr size_t kHeaderWindowBytes = size_t{4} << 10;

  // The regular file at path, when ReadWholeFile would read it; nothing otherwise. The
  // first read takes first_window bytes, every later one kWindowBytes.
  static std::optional<ImageSource> OpenFile(const std::u16string& path, size_t first_window = kWindowBytes);
  // The bytes of a file already open for reading, of the size found when it was opened.
  static ImageSource OverFile(PlatformFile file, uint64_t size, size_t first_window = kWindowBytes) {
    return ImageSource(std::move(file), size, first_window);
  }
  explicit ImageSource(std::span<const uint8_t> bytes) : bytes_(bytes), size_(bytes.size()) {}

  uint64_t Size() const { return size_; }
  // Up to count bytes at offset, fewer only where the data ends; valid until the next
  // call. Empty too when the file cannot be read (see Failed).
  std::span<const uint8_t> Fetch(uint64_t offset, size_t count);
  // Exactly count bytes at offset into out; false when they do not all lie inside the data.
  bool Copy(uint64_t offset, uint8_t* out, uint64_t count);
  // Whether a read inside the size failed or came up short (the file shrank): the file
  // could not have been read whole, so nothing decided from it holds.
  bool Failed() const { return failed_; }
  // Why it failed where the system refused a read (or memory ran out): the system's
  // code; 0 when it read fewer bytes than the size without a refusal, or did not fail.
  int ReadError() const { return read_error_; }

 private:
  ImageSource(PlatformFile file, uint64_t size, size_t first_window)
      : file_(std::move(file)), size_(size), window_bytes_(first_window) {}
  bool Refill(uint64_t offset, size_t count);

  PlatformFile file_;
  std::span<const uint8_t> bytes_;  // memory: the data; a file: the window below
  std::vector<uint8_t> window_;
  uint64_t window_offset_ = 0;
  uint64_t size_ = 0;
  size_t window_bytes_ = kWindowBytes;  // what the next read takes at the least
  bool failed_ = false;
  int read_error_ = 0;
};

// A size read from a source: measuring, or quick mode.
using SourceSizer = std::optional<ImageSize> (*)(ImageSource& source);
// What sizer gives for the file at path (see OpenFile), or for data; nothing where the
// file cannot be opened or memory runs out.
std::optional<ImageSize> SizeFile(const std::u16string& path, SourceSizer sizer,
                                  size_t first_window = ImageSource::kWindowBytes);
std::optional<ImageSize> SizeMemory(std::span<const uint8_t> data, SourceSizer sizer);
