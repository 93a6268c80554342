#include "ui/file_icon_cache.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "fs/path_separator.h"
#include "ui/native_hooks.h"

namespace {

// Programs, icons, links and icon libraries carry their own pictures.
constexpr std::array<std::u16string_view, 4> kOwnIconKinds = {u"exe", u"ico", u"lnk", u"icl"};
constexpr size_t kLongestCachedExtension = 4;

}  // namespace

std::optional<std::u16string> FileIconKey(const std::u16string& path) {
  // The dot of the file's own name, not of a folder above it.
  const size_t dot = path.rfind(u'.');
  if (dot == std::u16string::npos || dot < PathNameStart(path) || path.size() - dot - 1 > kLongestCachedExtension)
    return std::nullopt;
  std::u16string key = path.substr(dot + 1);
  for (char16_t& unit : key) {
    const char32_t folded = NativeCaseFold(unit);
    if (folded <= 0xFFFF) unit = static_cast<char16_t>(folded);
  }
  if (std::find(kOwnIconKinds.begin(), kOwnIconKinds.end(), key) != kOwnIconKinds.end()) return std::nullopt;
  return key;
}
