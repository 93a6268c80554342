#pragma once
// A QString's text seen as the layer's UTF-16 text, without a copy.
#include <QString>
#include <string_view>

inline std::u16string_view TextView(const QString& text) {
  return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())};
}
