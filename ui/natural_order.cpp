#include "ui/natural_order.h"

#include <cstddef>

#include "ui/native_hooks.h"

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The end of the run of digits that starts at `at`.
size_t DigitsEnd(std::u16string_view text, size_t at) {
  while (at < text.size() && IsDigit(text[at])) ++at;
  return at;
}

size_t SkipZeros(std::u16string_view text, size_t at, size_t end) {
  while (at < end && text[at] == u'0') ++at;
  return at;
}

// The sign of a - b.
int Order(size_t a, size_t b) { return a < b ? -1 : a > b ? 1 : 0; }
int Sign(int value) { return value < 0 ? -1 : value > 0 ? 1 : 0; }

}  // namespace

int NaturalCompare(std::u16string_view a, std::u16string_view b) {
  size_t i = 0, j = 0;
  // Decides between names that read alike: fewer leading zeros first.
  int zeros = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      const size_t a_end = DigitsEnd(a, i), b_end = DigitsEnd(b, j);
      const size_t a_value = SkipZeros(a, i, a_end), b_value = SkipZeros(b, j, b_end);
      // Without leading zeros the longer run is the larger number; runs of one length
      // compare digit by digit.
      if (const int by_length = Order(a_end - a_value, b_end - b_value)) return by_length;
      if (const int by_digits = a.substr(a_value, a_end - a_value).compare(b.substr(b_value, b_end - b_value)))
        return Sign(by_digits);
      if (zeros == 0) zeros = Order(a_value - i, b_value - j);
      i = a_end;
      j = b_end;
      continue;
    }
    const char32_t x = NativeCaseFold(a[i]), y = NativeCaseFold(b[j]);
    if (x != y) return x < y ? -1 : 1;
    ++i;
    ++j;
  }
  if (const int by_rest = Order(a.size() - i, b.size() - j)) return by_rest;
  if (zeros) return zeros;
  return Sign(a.compare(b));
}
