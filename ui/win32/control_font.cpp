#include "ui/win32/control_font.h"

namespace {

// Owns the font made from the system's metrics; deleted when the program ends.
class MessageFont {
 public:
  MessageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
      font_ = CreateFontIndirectW(&metrics.lfMessageFont);
  }
  ~MessageFont() {
    if (font_) DeleteObject(font_);
  }
  MessageFont(const MessageFont&) = delete;
  MessageFont& operator=(const MessageFont&) = delete;
  HFONT Get() const { return font_; }

 private:
  HFONT font_ = nullptr;
};

}  // namespace

HFONT ControlFont() {
  static const MessageFont font;
  return font.Get() ? font.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}
