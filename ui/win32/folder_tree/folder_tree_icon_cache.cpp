#include <windows.h>

#include <algorithm>
#include <array>
#include <string_view>

#include "ui/win32/folder_tree/folder_tree_shared.h"

namespace {

// Programs, icons, links and icon libraries carry their own pictures.
constexpr std::array<std::u16string_view, 4> kOwnIconKinds = {u"EXE", u"ICO", u"LNK", u"ICL"};
constexpr size_t kLongestCachedExtension = 4;

std::u16string Upper(std::u16string text) {
  if (!text.empty()) CharUpperBuffW(reinterpret_cast<wchar_t*>(text.data()), static_cast<DWORD>(text.size()));
  return text;
}

}  // namespace

int IconCache::For(const std::u16string& path) {
  const size_t dot = path.rfind(u'.');
  if (dot == std::u16string::npos || path.size() - dot - 1 > kLongestCachedExtension) return ShellIcon(path);
  const std::u16string extension = Upper(path.substr(dot + 1));
  if (std::find(kOwnIconKinds.begin(), kOwnIconKinds.end(), extension) != kOwnIconKinds.end()) return ShellIcon(path);
  const auto cached = by_extension_.find(extension);
  if (cached != by_extension_.end()) return cached->second;
  const int icon = ShellIcon(path);
  // A file the shell could not describe says nothing of its kind: not kept.
  if (icon >= 0) by_extension_.emplace(extension, icon);
  return icon;
}
