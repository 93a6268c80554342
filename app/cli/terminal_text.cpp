#include "app/cli/terminal_text.h"

#include <cstdio>

#include "fs/text_encoding.h"

namespace {

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
// A byte that is not valid UTF-8 travels as U+DC80 + byte.
bool IsEscapedByte(char16_t unit) { return unit >= 0xDC80 && unit <= 0xDCFF; }

}  // namespace

std::string TerminalText(const std::u16string& text) {
  std::string shown;
  std::u16string plain;  // the run since the last escape
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    char escape[8] = "";
    if (unit < 0x20 || unit == 0x7F) {
      std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(unit));
    } else if (unit >= 0x80 && unit <= 0x9F) {
      std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(unit));
    } else if (IsEscapedByte(unit) && (i == 0 || !IsHighSurrogate(text[i - 1]))) {
      std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(unit - 0xDC00));
    } else {
      plain += unit;
      continue;
    }
    shown += EscapedBytesFromText(plain) + escape;
    plain.clear();
  }
  return shown + EscapedBytesFromText(plain);
}

std::string ShownText(const std::u16string& text, bool terminal) {
  return terminal ? TerminalText(text) : EscapedBytesFromText(text);
}
