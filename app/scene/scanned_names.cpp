#include "app/scene/scanned_names.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

constexpr std::array<std::u16string_view, 4> kScanned = {u"png", u"jpg", u"gif", u"hdr"};
// Written out in full, the one extension the scan knows only by its short form.
constexpr std::u16string_view kLongJpeg = u"jpeg";

}  // namespace

bool IsImageName(const std::u16string& name) {
  if (name.size() < 3) return false;
  const std::u16string_view extension = std::u16string_view(name).substr(name.size() - 3);
  return std::find(kScanned.begin(), kScanned.end(), extension) != kScanned.end();
}

bool LooksLikeImageName(const std::u16string& name) {
  const size_t dot = name.rfind(u'.');
  if (dot == std::u16string::npos) return false;
  std::u16string extension = name.substr(dot + 1);
  for (char16_t& unit : extension) {
    if (unit >= u'A' && unit <= u'Z') unit = static_cast<char16_t>(unit - u'A' + u'a');
  }
  return extension == kLongJpeg || std::find(kScanned.begin(), kScanned.end(), extension) != kScanned.end();
}

std::u16string ScannedExtensionsText() {
  std::u16string text;
  for (size_t i = 0; i < kScanned.size(); ++i) {
    if (i > 0) text += i + 1 == kScanned.size() ? u" or " : u", ";
    text += kScanned[i];
  }
  return text;
}
