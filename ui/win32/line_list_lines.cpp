#include "ui/win32/line_list_lines.h"

#include <algorithm>
#include <climits>
#include <memory>

namespace {

// Room left after a line's text when the list scrolls sideways, in pixels.
constexpr int kTextEndMargin = 8;

}  // namespace

int LineListLines::Width(std::u16string_view text) const { return text.empty() ? 0 : TextWidth(text) + kTextEndMargin; }

LineListLines::LineListLines() : measure_(CreateCompatibleDC(nullptr)) {}

LineListLines::~LineListLines() {
  if (!measure_) return;
  if (first_font_) SelectObject(measure_, first_font_);
  DeleteDC(measure_);
}

std::u16string_view LineListLines::Line(size_t row) const {
  if (row >= spans_.size()) return {};
  return std::u16string_view(text_).substr(spans_[row].start, spans_[row].length);
}

void LineListLines::Insert(size_t row, std::u16string_view text) {
  spans_.insert(spans_.begin() + static_cast<ptrdiff_t>(std::min(row, spans_.size())), Span{text_.size(), text.size()});
  text_ += text;
  widest_ = std::max(widest_, Width(text));
}

void LineListLines::Erase(size_t row) {
  if (row < spans_.size()) spans_.erase(spans_.begin() + static_cast<ptrdiff_t>(row));
}

void LineListLines::Clear() {
  // Given back: a list emptied after a long scan holds no memory for it.
  std::u16string().swap(text_);
  std::vector<Span>().swap(spans_);
  widest_ = 0;
  uncounted = false;
}

int LineListLines::SetFont(HFONT font) {
  font_ = font;
  if (!measure_) return 0;
  const HGDIOBJ old = SelectObject(measure_, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
  if (!first_font_) first_font_ = old;
  widest_ = 0;
  for (size_t row = 0; row < spans_.size(); ++row) widest_ = std::max(widest_, Width(Line(row)));
  TEXTMETRICW metrics{};
  return GetTextMetricsW(measure_, &metrics) ? metrics.tmHeight : 0;
}

int LineListLines::TextWidth(std::u16string_view text) const {
  if (!measure_ || text.empty()) return 0;
  SIZE extent{};
  GetTextExtentPoint32W(measure_, reinterpret_cast<const wchar_t*>(text.data()),
                        static_cast<int>(std::min<size_t>(text.size(), INT_MAX)), &extent);
  return extent.cx;
}
