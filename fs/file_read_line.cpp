// Reading numbered files: whole lines in three encodings, and the end-of-file test.
#include <new>
#include <string>

#include "fs/ansi_text.h"
#include "fs/file_record.h"
#include "fs/files.h"
#include "fs/text_encoding.h"

namespace {

// One unit of `width` bytes (1, or 2 little-endian); false at the end of the file, which
// swallows a final unit cut short.
bool ReadUnit(FileRecord& record, int width, char16_t& unit) {
  uint8_t bytes[2] = {};
  if (FileReadBytes(record, bytes, width) != width) return false;
  unit = width == 1 ? bytes[0] : static_cast<char16_t>(bytes[0] | (bytes[1] << 8));
  return true;
}

// Whether the unit just read ends the line. A carriage return takes a line feed right
// after it along; any other unit after it is read again as the next line's first.
bool EndsLine(FileRecord& record, char16_t unit, int width, bool to_end) {
  if (unit == 0) return true;
  if (to_end) return false;
  if (unit == u'\r') {
    char16_t next;
    if (ReadUnit(record, width, next) && next != u'\n') FileGiveBack(record, width);
    return true;
  }
  return unit == u'\n';
}

// The 8-bit path (std::string) and the Utf16 path (std::u16string): units as they are.
template <typename Line>
Line ReadUnits(FileRecord& record, int width, bool to_end) {
  Line line;
  char16_t unit;
  while (ReadUnit(record, width, unit) && !EndsLine(record, unit, width, to_end))
    line.push_back(static_cast<typename Line::value_type>(unit));
  return line;
}

int Utf8SequenceLength(char16_t lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 0;
}

// The Utf8 path reads a character at a time: a byte that cannot lead one is stored as
// "?", and a character cut short by the end of the file is dropped. A byte that cannot
// continue the character is left for the next, so a line end inside bad text still ends
// the line; the broken character's bytes decode as U+FFFD.
std::string ReadUtf8Bytes(FileRecord& record, bool to_end) {
  std::string line;
  char16_t lead;
  while (ReadUnit(record, 1, lead) && !EndsLine(record, lead, 1, to_end)) {
    const int length = Utf8SequenceLength(lead);
    if (length == 0) {
      line.push_back('?');
      continue;
    }
    const size_t start = line.size();
    line.push_back(static_cast<char>(lead));
    for (int k = 1; k < length; ++k) {
      char16_t next;
      if (!ReadUnit(record, 1, next)) {
        line.resize(start);
        return line;
      }
      if ((next & 0xC0) != 0x80) {
        FileGiveBack(record, 1);
        break;
      }
      line.push_back(static_cast<char>(next));
    }
  }
  return line;
}

}  // namespace

std::u16string FileReadLine(int64_t number, int format) {
  FileRecord* record = FileFind(number);
  if (record == nullptr) return {};
  const int code = FileResolveFormat(*record, format);
  const bool to_end = (format & ReadFlag::ToEnd) != 0;
  try {
    if (code == TextFormat::Utf16) return ReadUnits<std::u16string>(*record, 2, to_end);
    if (code == TextFormat::Utf8) return TextFromUtf8(ReadUtf8Bytes(*record, to_end));
    return TextFromAnsi(ReadUnits<std::string>(*record, 1, to_end));
  } catch (const std::bad_alloc&) {
    return {};
  }
}

int64_t FileAtEnd(int64_t number) {
  FileRecord* record = FileFind(number);
  if (record == nullptr) return 0;
  uint8_t byte;
  if (FileReadBytes(*record, &byte, 1) != 1) return record->buffer ? 1 : -1;
  FileGiveBack(*record, 1);
  return 0;
}
