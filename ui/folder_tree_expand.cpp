#include <QTreeWidget>
#include <algorithm>
#include <mutex>
#include <vector>

#include "fs/listings.h"
#include "fs/listing_search.h"
#include "fs/mount_point_probe.h"
#include "fs/path_limit.h"
#include "ui/folder_tree.h"
#include "ui/folder_tree_shared.h"
#include "ui/folder_tree_state.h"

namespace {

// A listing of the fill's own, closed whatever way the fill leaves.
class Listing {
 public:
  explicit Listing(const std::u16string& folder) : id_(ListingOpen(kAutoNumber, folder, u"*.*")) {}
  ~Listing() {
    if (id_ != 0) ListingClose(id_);
  }
  Listing(const Listing&) = delete;
  Listing& operator=(const Listing&) = delete;

  bool Next() { return id_ != 0 && ListingNext(id_) != 0; }
  std::u16string Name() const { return ListingName(id_); }
  bool IsFolder() const { return ListingKind(id_) == EntryKind::Directory; }

 private:
  int64_t id_;
};

bool IsDots(const std::u16string& name) { return name == u"." || name == u".."; }

std::vector<std::u16string> PatternsOf(const std::u16string& list) {
  std::vector<std::u16string> patterns;
  size_t start = 0;
  for (size_t end; (end = list.find(u';', start)) != std::u16string::npos; start = end + 1)
    patterns.push_back(list.substr(start, end - start));
  patterns.push_back(list.substr(start));
  return patterns;
}

bool Matches(const std::vector<std::u16string>& patterns, const std::u16string& name) {
  if (patterns.empty()) return true;
  return std::any_of(patterns.begin(), patterns.end(),
                     [&](const std::u16string& pattern) { return ListingNameMatches(pattern, name); });
}

// Whether opening the folder would show anything: a subfolder, or a file the tree
// shows. Decides the expand indicator without filling the node.
bool HasChildren(const std::u16string& folder, bool folders_only, const std::vector<std::u16string>& patterns) {
  Listing listing(folder);
  while (listing.Next()) {
    const std::u16string name = listing.Name();
    if (IsDots(name)) continue;
    if (listing.IsFolder() || (!folders_only && Matches(patterns, name))) return true;
  }
  return false;
}

void SortByName(std::vector<std::u16string>& names) {
  std::stable_sort(names.begin(), names.end(), [](const std::u16string& a, const std::u16string& b) {
    return QStringView(a).compare(QStringView(b), Qt::CaseInsensitive) < 0;
  });
}

}  // namespace

bool FolderTreeExpand(FolderTreeState& state, QTreeWidgetItem* node) {
  const int64_t parameter = NodeParameter(node);
  if ((parameter & FilledMark) == FilledMark) return true;
  const std::u16string path = FolderTreePath(state, node);
  if (path.empty()) return false;
  const int64_t kind = NodeKind(parameter);
  if (IsDriveKind(kind)) {
    const MountPointState drive = MountPointProbe(path);
    if (drive != MountPointState::kReady) {
      if (drive == MountPointState::kNotReady && !(state.flags & kFolderTreeNoNotice)) NoticeOpen(state, kind);
      return false;  // neither filled nor marked: opening it again tries again
    }
  }
  const bool folders_only = state.flags & kFolderTreeFoldersOnly;
  const std::vector<std::u16string> patterns = folders_only ? std::vector<std::u16string>() : PatternsOf(state.patterns);

  // One reading of the folder, in the system's order. A name whose path the system
  // would refuse is left out rather than shown under a path that cannot be opened.
  std::vector<std::u16string> folders, files;
  {
    Listing listing(path);
    while (listing.Next()) {
      const std::u16string name = listing.Name();
      if (IsDots(name)) continue;
      if (listing.IsFolder()) {
        if (PathFitsSystem(path + name + u"/")) folders.push_back(name);
      } else if (!folders_only && Matches(patterns, name) && PathFitsSystem(path + name)) {
        files.push_back(name);
      }
    }
  }
  if (state.flags & kFolderTreeSorted) {
    SortByName(folders);
    SortByName(files);
  }

  QList<QTreeWidgetItem*> children;
  for (const std::u16string& name : folders)
    children.append(NodeMake(name, state.shared->folder_icon,
                             HasChildren(path + name + u"/", folders_only, patterns), kNodeFolder).release());
  {
    IconCache& icons = state.shared->file_icons;
    const std::lock_guard hold(icons.Lock());
    for (const std::u16string& name : files)
      children.append(NodeMake(name, icons.For(path + name), false, kNodeFile).release());
  }
  node->addChildren(children);  // the node owns them from here
  NodeParameterSet(node, parameter | FilledMark);
  node->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
  return true;
}
