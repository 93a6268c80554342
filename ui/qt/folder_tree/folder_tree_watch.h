#pragma once
// Watches folders for changes on disk and reports them together, shortly after they
// happen, so that a burst of changes costs one report.
#include <QFileSystemWatcher>
#include <QTimer>
#include <functional>
#include <set>
#include <string>
#include <vector>

class FolderTreeWatch {
 public:
  using Changed = std::function<void(std::vector<std::u16string> paths)>;
  explicit FolderTreeWatch(Changed changed);
  FolderTreeWatch(const FolderTreeWatch&) = delete;
  FolderTreeWatch& operator=(const FolderTreeWatch&) = delete;

  // Watches exactly these folders (paths ending in "/") from now on. A folder the system
  // will not watch (its limit of watches reached, a name it cannot take) is left out
  // without complaint: it is read again only when asked.
  void Follow(const std::vector<std::u16string>& paths);

 private:
  QFileSystemWatcher watcher_;
  QTimer settle_;
  std::set<std::u16string> changed_;
  std::set<QString> refused_;  // wanted, but the system would not watch them
  Changed report_;
};
