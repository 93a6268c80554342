#include "app/cli/terminal_text.h"

#include <cstdio>

#include "fs/text_encoding.h"

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
    } else if (TextHasEscapedByteAt(text, i)) {
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
