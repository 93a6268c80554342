#include "fs/text_from_bytes.h"

#include <cstring>
#include <string_view>

#include "fs/ansi_text.h"
#include "fs/text_encoding.h"

namespace {

std::u16string Utf16Units(const unsigned char* bytes, int64_t length) {
  std::u16string text;
  for (int64_t i = 0; length == -1 || i < length; ++i) {
    // Unaligned memory: assemble each little-endian unit from its two bytes.
    const auto unit = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    if (unit == 0) break;
    text.push_back(unit);
  }
  return text;
}

// Bytes of the well-formed sequence led by bytes[0] (zero ends every walk, since it is
// neither a lead nor a continuation byte), or 0 when it is malformed.
int64_t SequenceBytes(const unsigned char* bytes) {
  const unsigned char lead = bytes[0];
  int64_t n;
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) {
    n = 2;
  } else if ((lead & 0xF0) == 0xE0) {
    n = 3;
  } else if ((lead & 0xF8) == 0xF0) {
    n = 4;
  } else {
    return 0;
  }
  for (int64_t k = 1; k < n; ++k)
    if ((bytes[k] & 0xC0) != 0x80) return 0;
  return n;
}

// The bytes that `characters` UTF-8 characters take, stopping at a zero byte. A malformed
// lead byte is stepped over without being counted.
int64_t Utf8BytesOfCharacters(const unsigned char* bytes, int64_t characters) {
  int64_t used = 0;
  for (int64_t counted = 0; counted < characters && bytes[used] != 0;) {
    const int64_t n = SequenceBytes(bytes + used);
    if (n == 0) {
      ++used;
    } else {
      used += n;
      ++counted;
    }
  }
  return used;
}

}  // namespace

std::u16string TextFromBytes(const void* address, int64_t length, int format) {
  if (address == nullptr || length == 0 || length < -1) return {};
  const auto* bytes = static_cast<const unsigned char*>(address);
  const int code = format & TextFormat::kCodeMask;
  if (code == TextFormat::Utf16) return Utf16Units(bytes, length);

  int64_t byte_count = length;
  if (code == TextFormat::Utf8 && length != -1 && !(format & TextFlag::CountBytes))
    byte_count = Utf8BytesOfCharacters(bytes, length);
  if (byte_count == -1) {
    byte_count = static_cast<int64_t>(std::strlen(reinterpret_cast<const char*>(bytes)));
  } else if (const void* zero = std::memchr(bytes, 0, static_cast<size_t>(byte_count))) {
    byte_count = static_cast<const unsigned char*>(zero) - bytes;
  }
  const std::string_view run(reinterpret_cast<const char*>(bytes), static_cast<size_t>(byte_count));
  return code == TextFormat::Utf8 ? TextFromUtf8(run) : TextFromAnsi(run);
}
