#pragma once
// File icons for the folder trees, asked of the system once per file extension.
#include <QFileIconProvider>
#include <QIcon>
#include <mutex>
#include <string>
#include <unordered_map>

class IconCache {
 public:
  // Held by a fill for its whole file pass.
  std::mutex& Lock() { return lock_; }
  // The icon of the file: the one cached for its extension (the text after the last
  // "." of the path, upper-cased) when that is at most four characters and not one of
  // the kinds whose files each have an icon of their own; otherwise the file's own.
  // The caller holds Lock().
  QIcon For(const std::u16string& path);

 private:
  std::mutex lock_;
  QFileIconProvider provider_;
  std::unordered_map<std::u16string, QIcon> by_extension_;
};
