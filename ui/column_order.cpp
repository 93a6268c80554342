#include "ui/column_order.h"

#include <cstdint>
#include <optional>

#include "ui/natural_order.h"

namespace {

// Dimensions as the lists show them.
constexpr std::u16string_view kTimes = u" x ";

// The value of a run of digits that is the whole text, as long as it fits in 32 bits.
std::optional<uint64_t> Whole(std::u16string_view digits) {
  if (digits.empty() || digits.size() > 10) return std::nullopt;
  uint64_t value = 0;
  for (const char16_t unit : digits) {
    if (unit < u'0' || unit > u'9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(unit - u'0');
  }
  if (value > UINT32_MAX) return std::nullopt;
  return value;
}

// Width times height of "W x H"; nothing for any other text.
std::optional<uint64_t> PixelCount(std::u16string_view cell) {
  const size_t times = cell.find(kTimes);
  if (times == std::u16string_view::npos) return std::nullopt;
  const auto width = Whole(cell.substr(0, times));
  const auto height = Whole(cell.substr(times + kTimes.size()));
  if (!width || !height) return std::nullopt;
  return *width * *height;  // both below 2^32: no overflow
}

int CellsCompare(ColumnSort sort, std::u16string_view a, std::u16string_view b) {
  if (sort == ColumnSort::kNames) return NaturalCompare(a, b);
  const auto x = PixelCount(a), y = PixelCount(b);
  if (x && y) return *x < *y ? -1 : *x > *y ? 1 : 0;
  if (x || y) return x ? 1 : -1;
  return NaturalCompare(a, b);
}

}  // namespace

int ColumnRowsCompare(ColumnSort sort, std::u16string_view a_cell, std::u16string_view a_first,
                      std::u16string_view b_cell, std::u16string_view b_first) {
  if (const int by_cell = CellsCompare(sort, a_cell, b_cell)) return by_cell;
  return NaturalCompare(a_first, b_first);
}
