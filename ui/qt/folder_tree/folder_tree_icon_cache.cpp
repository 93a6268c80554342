#include "ui/qt/folder_tree/folder_tree_icon_cache.h"

#include <QFileInfo>
#include <array>

namespace {

// Programs, icons, links and icon libraries carry their own pictures.
constexpr std::array<std::u16string_view, 4> kOwnIconKinds = {u"EXE", u"ICO", u"LNK", u"ICL"};
constexpr size_t kLongestCachedExtension = 4;

}  // namespace

QIcon IconCache::For(const std::u16string& path) {
  const QString text = QString::fromStdU16String(path);
  const size_t dot = path.rfind(u'.');
  if (dot != std::u16string::npos && path.size() - dot - 1 <= kLongestCachedExtension) {
    const std::u16string extension = text.mid(static_cast<qsizetype>(dot) + 1).toUpper().toStdU16String();
    if (std::find(kOwnIconKinds.begin(), kOwnIconKinds.end(), extension) == kOwnIconKinds.end()) {
      const auto cached = by_extension_.find(extension);
      if (cached != by_extension_.end()) return cached->second;
      return by_extension_.emplace(extension, provider_.icon(QFileInfo(text))).first->second;
    }
  }
  return provider_.icon(QFileInfo(text));
}
