#pragma once
// Reading a whole file into memory, as the image loader needs it.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "fs/platform_file.h"

// Files of this size or more are not read: callers count sizes in signed 32 bits.
inline constexpr uint64_t kWholeFileLimit = uint64_t{1} << 31;

struct FileBytes {
  std::unique_ptr<uint8_t[]> data;
  size_t size = 0;
  std::span<const uint8_t> Bytes() const { return {data.get(), size}; }
};

struct OpenedWholeFile {
  PlatformFile file;
  uint64_t size = 0;
};
// The regular file at path, open for reading, and its size: what ReadWholeFile reads,
// for readers that take it in pieces. Nothing where ReadWholeFile refuses the file
// before reading it.
std::optional<OpenedWholeFile> OpenWholeFile(const std::u16string& path);

// The complete contents of the regular file at path (symbolic links followed).
// Nothing is returned for anything else: a missing or unreadable file, a FIFO, socket,
// device or folder (refused without blocking), a file of kWholeFileLimit bytes or more,
// memory that cannot be had, a read error, or a file that shrinks while it is read.
std::optional<FileBytes> ReadWholeFile(const std::u16string& path);
// The `size` bytes of a file open for reading, from its start; nothing where memory
// cannot be had, a read fails or the file shrank (the system's code then is
// PlatformLastError, 0 for a file that shrank).
std::optional<FileBytes> ReadOpenedFile(PlatformFile& file, uint64_t size);
