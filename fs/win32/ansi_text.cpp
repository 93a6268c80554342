#include "fs/ansi_text.h"

#include <windows.h>

#include <algorithm>

namespace {

// Every call's counts stay well inside an int.
constexpr size_t kPiece = size_t{1} << 29;

}  // namespace

std::string AnsiFromText(std::u16string_view text) {
  std::string bytes;
  while (!text.empty()) {
    size_t units = std::min(text.size(), kPiece);
    // The two halves of a surrogate pair go into the same piece.
    if (units < text.size() && text[units - 1] >= 0xD800 && text[units - 1] <= 0xDBFF) --units;
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int count = static_cast<int>(units);
    // No default character given: the code page's own stands for what it cannot show.
    // Never a look-alike: a full-width quote would become a quote that ends a string in
    // the scene, and two names that differ in one letter would become the same name.
    const int needed = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, count, nullptr, 0, nullptr, nullptr);
    const size_t at = bytes.size();
    bytes.resize(at + static_cast<size_t>(std::max(needed, 0)));
    if (needed > 0)
      WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, count, bytes.data() + at, needed, nullptr, nullptr);
    text.remove_prefix(units);
  }
  return bytes;
}

std::u16string TextFromAnsi(std::string_view bytes) {
  std::u16string text;
  while (!bytes.empty()) {
    size_t count = std::min(bytes.size(), kPiece);
    // A piece ends after a byte below 0x40, which in no code page is part of a longer
    // character, where there is one.
    if (count < bytes.size()) {
      size_t cut = count;
      while (cut > 0 && static_cast<unsigned char>(bytes[cut - 1]) >= 0x40) --cut;
      if (cut > 0) count = cut;
    }
    const int length = static_cast<int>(count);
    const int needed = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    const size_t at = text.size();
    text.resize(at + static_cast<size_t>(std::max(needed, 0)));
    if (needed > 0)
      MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, reinterpret_cast<wchar_t*>(text.data() + at), needed);
    bytes.remove_prefix(count);
  }
  return text;
}
