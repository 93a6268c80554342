#include "ui/natural_order.h"

namespace {

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// The end of the run of digits that starts at `at`.
qsizetype DigitsEnd(QStringView text, qsizetype at) {
  while (at < text.size() && IsDigit(text[at])) ++at;
  return at;
}

qsizetype SkipZeros(QStringView text, qsizetype at, qsizetype end) {
  while (at < end && text[at] == u'0') ++at;
  return at;
}

int Sign(qsizetype value) { return value < 0 ? -1 : value > 0 ? 1 : 0; }

}  // namespace

int NaturalCompare(QStringView a, QStringView b) {
  qsizetype i = 0, j = 0;
  // Decides between names that read alike: fewer leading zeros first.
  int zeros = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      const qsizetype a_end = DigitsEnd(a, i), b_end = DigitsEnd(b, j);
      const qsizetype a_value = SkipZeros(a, i, a_end), b_value = SkipZeros(b, j, b_end);
      // Without leading zeros the longer run is the larger number; runs of one length
      // compare digit by digit.
      if (const int by_length = Sign((a_end - a_value) - (b_end - b_value))) return by_length;
      if (const int by_digits = a.sliced(a_value, a_end - a_value).compare(b.sliced(b_value, b_end - b_value)))
        return by_digits;
      if (zeros == 0) zeros = Sign((a_value - i) - (b_value - j));
      i = a_end;
      j = b_end;
      continue;
    }
    const char32_t x = QChar::toCaseFolded(a[i].unicode()), y = QChar::toCaseFolded(b[j].unicode());
    if (x != y) return x < y ? -1 : 1;
    ++i;
    ++j;
  }
  if (const int by_rest = Sign((a.size() - i) - (b.size() - j))) return by_rest;
  if (zeros) return zeros;
  return a.compare(b);
}
