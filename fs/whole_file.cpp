#include "fs/whole_file.h"

#include <new>

#include "fs/platform_file.h"
#include "fs/system_errors.h"

std::optional<OpenedWholeFile> OpenWholeFile(const std::u16string& path) {
  // The open refuses anything but a regular file without opening it. Readers need no
  // lock here, so another program's lock does not keep an image from being measured.
  PlatformFile file =
      PlatformFile::Open(path, PlatformAccess::Read, PlatformDisposition::OpenExisting, PlatformShare::Unlocked);
  if (!file.IsOpen()) return std::nullopt;
  const int64_t size = file.OpenedSize();
  if (size < 0 || static_cast<uint64_t>(size) >= kWholeFileLimit) return std::nullopt;
  return OpenedWholeFile{std::move(file), static_cast<uint64_t>(size)};
}

std::optional<FileBytes> ReadOpenedFile(PlatformFile& file, uint64_t size) {
  FileBytes bytes;
  bytes.size = static_cast<size_t>(size);
  try {
    bytes.data = std::make_unique_for_overwrite<uint8_t[]>(bytes.size);
  } catch (const std::bad_alloc&) {
    PlatformSetLastError(kOutOfMemoryError);
    return std::nullopt;
  }
  PlatformSetLastError(0);
  // Fewer bytes than the size: the file shrank while it was read.
  if (file.ReadAt(0, bytes.data.get(), static_cast<int64_t>(size)) != static_cast<int64_t>(size)) return std::nullopt;
  return bytes;
}

std::optional<FileBytes> ReadWholeFile(const std::u16string& path) {
  auto opened = OpenWholeFile(path);
  if (!opened) return std::nullopt;
  return ReadOpenedFile(opened->file, opened->size);
}
