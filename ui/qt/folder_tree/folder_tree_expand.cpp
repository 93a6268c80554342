#include <QTreeWidget>
#include <algorithm>
#include <mutex>
#include <vector>

#include "fs/listings.h"
#include "fs/listing_search.h"
#include "fs/mount_point_probe.h"
#include "fs/path_limit.h"
#include "ui/folder_tree.h"
#include "ui/qt/folder_tree/folder_tree_shared.h"
#include "ui/qt/folder_tree/folder_tree_state.h"
#include "ui/natural_order.h"

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

  bool Open() const { return id_ != 0; }
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
    return NaturalCompare(a, b) < 0;
  });
}

std::vector<std::u16string> PatternsFor(const FolderTreeState& state) {
  if (state.flags & kFolderTreeFoldersOnly) return {};
  return PatternsOf(state.patterns);
}

}  // namespace

FolderContents FolderTreeRead(const FolderTreeState& state, const std::u16string& path) {
  const bool folders_only = state.flags & kFolderTreeFoldersOnly;
  const std::vector<std::u16string> patterns = PatternsFor(state);
  // One reading of the folder, in the system's order. A name whose path the system
  // would refuse is left out rather than shown under a path that cannot be opened.
  FolderContents contents;
  Listing listing(path);
  contents.readable = listing.Open();
  while (listing.Next()) {
    const std::u16string name = listing.Name();
    if (IsDots(name)) continue;
    if (listing.IsFolder()) {
      if (PathFitsSystem(path + name + u"/")) contents.folders.push_back(name);
    } else if (!folders_only && Matches(patterns, name) && PathFitsSystem(path + name)) {
      contents.files.push_back(name);
    }
  }
  if (state.flags & kFolderTreeSorted) {
    SortByName(contents.folders);
    SortByName(contents.files);
  }
  return contents;
}

bool FolderHasChildren(const FolderTreeState& state, const std::u16string& folder) {
  return HasChildren(folder, state.flags & kFolderTreeFoldersOnly, PatternsFor(state));
}

std::unique_ptr<QTreeWidgetItem> FolderNodeMake(const FolderTreeState& state, const std::u16string& path,
                                                const std::u16string& name) {
  return NodeMake(name, state.shared->folder_icon, FolderHasChildren(state, path + name + u"/"), kNodeFolder);
}

std::unique_ptr<QTreeWidgetItem> FileNodeMake(const FolderTreeState& state, const std::u16string& path,
                                              const std::u16string& name) {
  return NodeMake(name, state.shared->file_icons.For(path + name), false, kNodeFile);
}

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
  const FolderContents contents = FolderTreeRead(state, path);

  QList<QTreeWidgetItem*> children;
  for (const std::u16string& name : contents.folders) children.append(FolderNodeMake(state, path, name).release());
  {
    const std::lock_guard hold(state.shared->file_icons.Lock());
    for (const std::u16string& name : contents.files) children.append(FileNodeMake(state, path, name).release());
  }
  node->addChildren(children);  // the node owns them from here
  NodeParameterSet(node, parameter | FilledMark);
  node->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
  return true;
}
