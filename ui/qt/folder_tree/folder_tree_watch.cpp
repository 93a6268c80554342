#include "ui/qt/folder_tree/folder_tree_watch.h"

#include "fs/text_encoding.h"

namespace {

// Changes are gathered this long before they are reported.
constexpr int kSettleMs = 150;

// A name holding a byte that is not UTF-8 reaches the watcher as another name.
bool Watchable(const std::u16string& path) {
  for (size_t i = 0; i < path.size(); ++i) {
    if (TextHasEscapedByteAt(path, i)) return false;
  }
  return true;
}

}  // namespace

FolderTreeWatch::FolderTreeWatch(Changed changed) : report_(std::move(changed)) {
  settle_.setSingleShot(true);
  settle_.setInterval(kSettleMs);
  QObject::connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_, [this](const QString& path) {
    changed_.insert(path.toStdU16String());
    if (!settle_.isActive()) settle_.start();
  });
  QObject::connect(&settle_, &QTimer::timeout, &watcher_, [this] {
    std::vector<std::u16string> paths(changed_.begin(), changed_.end());
    changed_.clear();
    report_(std::move(paths));
  });
}

void FolderTreeWatch::Follow(const std::vector<std::u16string>& paths) {
  std::set<QString> wanted;
  for (const std::u16string& path : paths)
    if (Watchable(path)) wanted.insert(QString::fromStdU16String(path));
  const QStringList directories = watcher_.directories();
  const std::set<QString> watched(directories.begin(), directories.end());
  QStringList gone, added;
  for (const QString& path : watched)
    if (!wanted.count(path)) gone.append(path);
  // A folder the system refused is not asked for again while it stays wanted.
  std::erase_if(refused_, [&](const QString& path) { return !wanted.count(path); });
  for (const QString& path : wanted)
    if (!watched.count(path) && !refused_.count(path)) added.append(path);
  if (!gone.isEmpty()) watcher_.removePaths(gone);
  if (added.isEmpty()) return;
  for (const QString& path : watcher_.addPaths(added)) refused_.insert(path);
}
