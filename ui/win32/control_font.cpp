#include "ui/win32/control_font.h"

#include <map>

#include "ui/dpi.h"

namespace {

// Owns a font; deleted when the program ends.
class FontOwner {
 public:
  explicit FontOwner(HFONT font) : font_(font) {}
  ~FontOwner() {
    if (font_) DeleteObject(font_);
  }
  FontOwner(const FontOwner&) = delete;
  FontOwner& operator=(const FontOwner&) = delete;
  HFONT Get() const { return font_; }

 private:
  HFONT font_;
};

// The system's metrics are those of the DPI read at start-up; another DPI scales them.
HFONT MakeMessageFont(int dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return nullptr;
  LOGFONTW font = metrics.lfMessageFont;
  font.lfHeight = MulDiv(font.lfHeight, dpi, UiDpiY());
  return CreateFontIndirectW(&font);
}

}  // namespace

HFONT ControlFont(int dpi) {
  static std::map<int, FontOwner> fonts;
  auto it = fonts.find(dpi);
  if (it == fonts.end()) it = fonts.try_emplace(dpi, MakeMessageFont(dpi)).first;
  return it->second.Get() ? it->second.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}
