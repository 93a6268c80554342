#include "fs/text.h"

#include <algorithm>

int64_t TextLength(const std::u16string& text) { return static_cast<int64_t>(text.size()); }

std::u16string TextTail(const std::u16string& text, int64_t n) {
  const int64_t length = TextLength(text);
  n = std::clamp<int64_t>(n, 0, length);
  return text.substr(static_cast<size_t>(length - n));
}

std::u16string DecimalText(int64_t value) {
  // The magnitude as unsigned, so the smallest value is written in full.
  uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  std::u16string digits;
  do {
    digits.push_back(static_cast<char16_t>(u'0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) digits.push_back(u'-');
  std::reverse(digits.begin(), digits.end());
  return digits;
}

int TextEquals(const std::u16string& a, const std::u16string& b) { return a == b ? 1 : 0; }
