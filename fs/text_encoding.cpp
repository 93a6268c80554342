#include "fs/text_encoding.h"

#include <cstdint>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHigh(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsEscapedByte(char16_t u) { return u >= 0xDC80 && u <= 0xDCFF; }
bool IsLow(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

void AppendUtf16(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out.push_back(static_cast<char16_t>(c));
  } else {
    c -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 | (c >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 | (c & 0x3FF)));
  }
}

// Encodes text; a lone surrogate is handed to `lone`, which appends what stands for it.
template <typename LoneFn>
std::string Encode(std::u16string_view text, LoneFn lone) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t u = text[i];
    if (IsHigh(u) && i + 1 < text.size() && IsLow(text[i + 1])) {
      AppendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00));
      ++i;
    } else if (IsHigh(u) || IsLow(u)) {
      lone(out, u);
    } else {
      AppendUtf8(out, u);
    }
  }
  return out;
}

// Length of the well-formed UTF-8 sequence at bytes[i] (1 to 4), or 0 when it is not one.
// Overlong forms, surrogates and values above U+10FFFF are not well formed.
size_t SequenceLength(std::string_view bytes, size_t i, char32_t& c) {
  const auto b = [&](size_t k) { return static_cast<uint8_t>(bytes[k]); };
  const uint8_t lead = b(i);
  if (lead < 0x80) {
    c = lead;
    return 1;
  }
  size_t n;
  char32_t min;
  if ((lead & 0xE0) == 0xC0) {
    n = 2, c = lead & 0x1F, min = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    n = 3, c = lead & 0x0F, min = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    n = 4, c = lead & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (n > bytes.size() - i) return 0;
  for (size_t k = 1; k < n; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) return 0;
    c = (c << 6) | (b(i + k) & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return n;
}

// Decodes UTF-8; a byte that starts no well-formed sequence is handed to `bad`.
template <typename BadFn>
std::u16string Decode(std::string_view bytes, BadFn bad) {
  std::u16string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    char32_t c = 0;
    const size_t n = SequenceLength(bytes, i, c);
    if (n == 0) {
      bad(out, static_cast<uint8_t>(bytes[i]));
      ++i;
    } else {
      AppendUtf16(out, c);
      i += n;
    }
  }
  return out;
}

}  // namespace

std::string EscapedBytesFromText(std::u16string_view text) {
  return Encode(text, [](std::string& out, char16_t u) {
    out.push_back(IsEscapedByte(u) ? static_cast<char>(u - 0xDC00) : '?');
  });
}

bool TextHasEscapedByteAt(std::u16string_view text, size_t i) {
  return i < text.size() && IsEscapedByte(text[i]) && (i == 0 || !IsHigh(text[i - 1]));
}

std::u16string TextFromEscapedBytes(std::string_view bytes) {
  return Decode(bytes, [](std::u16string& out, uint8_t byte) { out.push_back(static_cast<char16_t>(0xDC00 + byte)); });
}

std::string Utf8FromText(std::u16string_view text) {
  return Encode(text, [](std::string& out, char16_t) { AppendUtf8(out, kReplacement); });
}

std::u16string TextFromUtf8(std::string_view bytes) {
  return Decode(bytes, [](std::u16string& out, uint8_t) { out.push_back(char16_t(kReplacement)); });
}
