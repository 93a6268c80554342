// Opening numbered files: the three modes, sharing, buffering and the byte-order mark.
#include "fs/file_record.h"
#include "fs/files.h"

namespace {

PlatformShare ShareFrom(uint32_t flags) {
  if (flags & OpenFlag::ShareAll) return PlatformShare::All;
  if (flags & OpenFlag::ShareRead) return PlatformShare::Read;
  return PlatformShare::None;
}

PlatformFile OpenInMode(FileOpenMode mode, const std::u16string& path, PlatformShare share) {
  switch (mode) {
    case FileOpenMode::ReadOnly:
      return PlatformFile::Open(path, PlatformAccess::Read, PlatformDisposition::OpenExisting, share);
    case FileOpenMode::ReadWrite:
      return PlatformFile::Open(path, PlatformAccess::ReadWrite, PlatformDisposition::OpenAlways, share);
    case FileOpenMode::Create: {
      PlatformFile file = PlatformFile::Open(path, PlatformAccess::ReadWrite, PlatformDisposition::CreateAlways, share);
      // An existing file that may be written but not read is still emptied and written.
      // When that fails too, the first refusal is the reason (a read-only file system,
      // not the missing file the second try then meets).
      if (!file.IsOpen()) {
        const int first_error = PlatformLastError();
        file = PlatformFile::Open(path, PlatformAccess::Write, PlatformDisposition::TruncateExisting, share);
        if (!file.IsOpen()) PlatformSetLastError(first_error);
      }
      return file;
    }
  }
  return {};
}

constexpr uint8_t kUtf16Mark[] = {0xFF, 0xFE};
constexpr uint8_t kUtf8Mark[] = {0xEF, 0xBB, 0xBF};

void WriteMark(FileRecord& record) {
  if (record.default_format == TextFormat::Utf16) FileWriteBytes(record, kUtf16Mark, sizeof kUtf16Mark);
  if (record.default_format == TextFormat::Utf8) FileWriteBytes(record, kUtf8Mark, sizeof kUtf8Mark);
}

// Reads from the current position, then continues from the start of the file: just past
// a mark that was found, else at the start itself.
void DetectMark(FileRecord& record) {
  uint8_t bytes[3] = {};
  const int64_t got = FileReadBytes(record, bytes, 3);
  int64_t mark = 0;
  if (got >= 2 && bytes[0] == kUtf16Mark[0] && bytes[1] == kUtf16Mark[1]) {
    record.default_format = TextFormat::Utf16;
    mark = 2;
  } else if (got == 3 && bytes[0] == kUtf8Mark[0] && bytes[1] == kUtf8Mark[1] && bytes[2] == kUtf8Mark[2]) {
    record.default_format = TextFormat::Utf8;
    mark = 3;
  }
  FileSetPosition(record, mark);
}

// Files the number with `open`, which opens the system file.
template <typename Opener>
int64_t FileOpenWith(FileOpenMode mode, int64_t number, uint32_t flags, Opener open) {
  auto& table = FileTable();
  const auto taken = table.Take(number);
  if (!taken.record) return 0;
  FileRecord& record = *taken.record;
  record.file = open();
  if (!record.file.IsOpen()) {
    table.Release(taken.id);
    return 0;
  }
  // Without memory for a buffer the file works unbuffered.
  if (!(flags & OpenFlag::Unbuffered)) record.buffer.reset(static_cast<uint8_t*>(MemoryAllocate(kFileBufferSize)));
  const int format = static_cast<int>(flags) & TextFormat::kCodeMask;
  record.default_format = format == 0 ? TextFormat::Utf8 : format;
  record.read_only = mode == FileOpenMode::ReadOnly;
  if (mode == FileOpenMode::ReadWrite && (flags & OpenFlag::SeekEnd)) record.file.Seek(0, PlatformOrigin::End);
  if (flags & OpenFlag::ByteOrderMark) {
    if (mode == FileOpenMode::Create) {
      WriteMark(record);
    } else {
      DetectMark(record);
    }
  }
  return number == kAutoNumber ? taken.id : record.file.Handle();
}

}  // namespace

int64_t FileOpenAs(FileOpenMode mode, int64_t number, const std::u16string& path, uint32_t flags) {
  return FileOpenWith(mode, number, flags, [&] { return OpenInMode(mode, path, ShareFrom(flags)); });
}

int64_t FileCreateOn(int64_t number, PlatformFile file, uint32_t flags) {
  return FileOpenWith(FileOpenMode::Create, number, flags, [&] { return std::move(file); });
}

int64_t FileCreate(int64_t number, const std::u16string& path, uint32_t flags) {
  return FileOpenAs(FileOpenMode::Create, number, path, flags);
}

int64_t FileOpen(int64_t number, const std::u16string& path, uint32_t flags) {
  return FileOpenAs(FileOpenMode::ReadWrite, number, path, flags);
}
