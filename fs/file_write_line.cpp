#include <new>
#include <string>
#include <string_view>

#include "fs/ansi_text.h"
#include "fs/file_record.h"
#include "fs/files.h"
#include "fs/system_errors.h"
#include "fs/text_encoding.h"

namespace {

std::string EncodedBytes(std::u16string_view text, int format) {
  if (format == TextFormat::Utf16) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (const char16_t unit : text) {
      bytes.push_back(static_cast<char>(unit & 0xFF));
      bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
  }
  if (format == TextFormat::Utf8) return Utf8FromText(text);
  return AnsiFromText(text);
}

// A piece whose bytes cannot be had in memory is skipped, and counts as a failed write.
int64_t WritePiece(FileRecord& record, std::u16string_view text, int format) {
  try {
    const std::string bytes = EncodedBytes(text, format);
    return FileWriteBytes(record, bytes.data(), static_cast<int64_t>(bytes.size()));
  } catch (const std::bad_alloc&) {
    if (record.write_error == 0) record.write_error = kOutOfMemoryError;
    return 0;
  }
}

}  // namespace

int64_t FileWriteLine(int64_t number, const std::u16string& text, int format) {
  FileRecord* record = FileFind(number);
  if (record == nullptr) return 0;
  const int code = FileResolveFormat(*record, format);
  if (!text.empty()) WritePiece(*record, text, code);
  return WritePiece(*record, u"\r\n", code);
}
