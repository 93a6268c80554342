#include "ui/folder_read.h"

#include <algorithm>

#include "fs/listing_search.h"
#include "fs/listings.h"
#include "fs/path_limit.h"
#include "ui/folder_tree.h"
#include "ui/natural_order.h"

namespace {

// A listing of the reader's own, closed whatever way the reading ends.
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

void SortByName(std::vector<std::u16string>& names) {
  std::stable_sort(names.begin(), names.end(),
                   [](const std::u16string& a, const std::u16string& b) { return NaturalCompare(a, b) < 0; });
}

}  // namespace

FolderReadRules FolderReadRulesFor(uint32_t flags, const std::u16string& patterns, char16_t separator) {
  FolderReadRules rules;
  rules.folders_only = flags & kFolderTreeFoldersOnly;
  rules.sorted = flags & kFolderTreeSorted;
  if (!rules.folders_only) rules.patterns = FolderPatterns(patterns);
  rules.separator = separator;
  return rules;
}

std::vector<std::u16string> FolderPatterns(const std::u16string& list) {
  std::vector<std::u16string> patterns;
  size_t start = 0;
  for (size_t end; (end = list.find(u';', start)) != std::u16string::npos; start = end + 1)
    patterns.push_back(list.substr(start, end - start));
  patterns.push_back(list.substr(start));
  return patterns;
}

bool FolderPatternsMatch(const std::vector<std::u16string>& patterns, const std::u16string& name) {
  if (patterns.empty()) return true;
  return std::any_of(patterns.begin(), patterns.end(),
                     [&](const std::u16string& pattern) { return ListingNameMatches(pattern, name); });
}

FolderContents FolderRead(const FolderReadRules& rules, const std::u16string& path) {
  FolderContents contents;
  Listing listing(path);
  contents.readable = listing.Open();
  while (listing.Next()) {
    const std::u16string name = listing.Name();
    if (IsDots(name)) continue;
    if (listing.IsFolder()) {
      if (PathFitsSystem(path + name + rules.separator)) contents.folders.push_back(name);
    } else if (!rules.folders_only && FolderPatternsMatch(rules.patterns, name) && PathFitsSystem(path + name)) {
      contents.files.push_back(name);
    }
  }
  if (rules.sorted) {
    SortByName(contents.folders);
    SortByName(contents.files);
  }
  return contents;
}

bool FolderShowsChildren(const FolderReadRules& rules, const std::u16string& folder) {
  Listing listing(folder);
  while (listing.Next()) {
    const std::u16string name = listing.Name();
    if (IsDots(name)) continue;
    if (listing.IsFolder() || (!rules.folders_only && FolderPatternsMatch(rules.patterns, name))) return true;
  }
  return false;
}
