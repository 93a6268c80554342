#include "app/scene/image_scan.h"

#include <set>
#include <vector>

#include "app/scene/scene_format.h"
#include "fs/files.h"
#include "fs/folder_identity.h"
#include "fs/listings.h"
#include "fs/object_table.h"
#include "fs/path_limit.h"
#include "fs/path_ops.h"
#include "fs/text.h"
#include "image/image_measure.h"

namespace {

struct Walk {
  const std::u16string& base;
  int64_t scene_file;
  ScanObserver& observer;
  // The folders the walk is inside, outermost first, and every folder it has entered.
  std::vector<FolderIdentity> open_folders;
  std::set<FolderIdentity> entered;
  ScanTotals totals;

  void Unreadable(const std::u16string& path, int system_error) {
    ++totals.unreadable;
    observer.EntryUnreadable(path, system_error);
  }
};

// How the walk came to a folder.
enum class Reached { Start, Directly, ThroughLink };

bool IsImageName(const std::u16string& name) {
  const std::u16string extension = TextTail(name, 3);
  for (const char16_t* accepted : {u"png", u"jpg", u"gif", u"hdr"}) {
    if (TextEquals(extension, accepted)) return true;
  }
  return false;
}

// The image's size, 1 x 1 when it cannot be loaded.
ImageSize MeasureImage(const std::u16string& path) {
  return MeasureImageFile(path).value_or(ImageSize{1, 1});
}

void ScanFolder(const std::u16string& given, Reached reached, Walk& walk) {
  // A backslash is an ordinary name character here, so a folder whose name ends in one
  // still gets its "/".
  std::u16string directory = given;
  if (!TextEquals(TextTail(directory, 1), u"/")) directory += u'/';

  // A link back to a folder the walk is inside would never end, and links that lead to
  // folders already walked would walk them again for every path there is to them.
  const auto identity = FolderIdentityOf(directory);
  if (identity) {
    for (const FolderIdentity& open : walk.open_folders) {
      if (open == *identity) return;
    }
    if (!walk.entered.insert(*identity).second && reached == Reached::ThroughLink) return;
    walk.open_folders.push_back(*identity);
  }

  const int64_t listing = ListingOpen(kAutoNumber, directory, u"*.*");
  if (listing == 0) {
    // A system that gives no reason still must not make the failure look like success.
    const int error = ListingLastError() != 0 ? ListingLastError() : -1;
    if (reached != Reached::Start) {
      walk.Unreadable(directory, error);
    } else if (identity || !PathExists(given)) {
      walk.totals.folder_error = error;
    }  // else the path of a file was given, which lists nothing
  } else {
    walk.observer.FolderEntered(directory);
    while (ListingNext(listing)) {
      const std::u16string name = ListingName(listing);
      const EntryKind kind = ListingKind(listing);
      if (TextEquals(name, u".") || TextEquals(name, u"..")) continue;
      if (kind == EntryKind::Directory) {
        ScanFolder(directory + name, ListingIsLink(listing) ? Reached::ThroughLink : Reached::Directly, walk);
        continue;
      }
      if (kind != EntryKind::File || !IsImageName(name)) continue;

      const std::u16string full_path = directory + name;
      if (!PathFitsSystem(full_path)) walk.Unreadable(full_path, kPathTooLongError);
      const ImageSize size = MeasureImage(full_path);
      const std::u16string relative =
          TextTail(full_path, TextLength(full_path) - TextLength(walk.base));
      ++walk.totals.images;
      walk.observer.ImageFound(relative);
      FileWriteLine(walk.scene_file, AddImageLine(relative, size.width, size.height), TextFormat::Ansi);
    }
    ListingClose(listing);
  }
  if (identity) walk.open_folders.pop_back();
}

}  // namespace

ScanTotals ImageScan(const std::u16string& directory, const std::u16string& base, int64_t scene_file,
                     ScanObserver& observer) {
  Walk walk{base, scene_file, observer, {}, {}, {}};
  ScanFolder(directory, Reached::Start, walk);
  return walk.totals;
}
