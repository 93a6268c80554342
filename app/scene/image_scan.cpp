#include "app/scene/image_scan.h"

#include <vector>

#include "app/scene/scene_format.h"
#include "fs/files.h"
#include "fs/folder_identity.h"
#include "fs/listings.h"
#include "fs/object_table.h"
#include "fs/text.h"
#include "image/image_measure.h"

namespace {

struct Walk {
  const std::u16string& base;
  int64_t scene_file;
  ScanObserver& observer;
  // The folders the walk is inside, outermost first.
  std::vector<FolderIdentity> open_folders;
  ScanTotals totals;
};

bool IsImageName(const std::u16string& name) {
  const std::u16string extension = TextTail(name, 3);
  for (const char16_t* accepted : {u"png", u"jpg", u"gif", u"hdr"}) {
    if (TextEquals(extension, accepted)) return true;
  }
  return false;
}

// A name ending in .png, .jpg, .jpeg, .gif or .hdr in any case.
bool LooksLikeImageName(const std::u16string& name) {
  const size_t dot = name.rfind(u'.');
  if (dot == std::u16string::npos) return false;
  std::u16string extension = name.substr(dot + 1);
  for (char16_t& unit : extension) {
    if (unit >= u'A' && unit <= u'Z') unit = static_cast<char16_t>(unit - u'A' + u'a');
  }
  for (const char16_t* known : {u"png", u"jpg", u"jpeg", u"gif", u"hdr"}) {
    if (extension == known) return true;
  }
  return false;
}

// The image's size, 1 x 1 when it cannot be loaded.
ImageSize MeasureImage(const std::u16string& path) {
  return MeasureImageFile(path).value_or(ImageSize{1, 1});
}

void ScanFolder(std::u16string directory, Walk& walk) {
  // A backslash is an ordinary name character here, so a folder whose name ends in one
  // still gets its "/".
  if (!TextEquals(TextTail(directory, 1), u"/")) directory += u'/';

  // A link back to a folder the walk is inside would never end.
  const auto identity = FolderIdentityOf(directory);
  if (identity) {
    for (const FolderIdentity& open : walk.open_folders) {
      if (open == *identity) return;
    }
    walk.open_folders.push_back(*identity);
  }

  const int64_t listing = ListingOpen(kAutoNumber, directory, u"*.*");
  if (listing != 0) {
    walk.observer.FolderEntered(directory);
    while (!walk.totals.stopped && ListingNext(listing)) {
      if (!walk.observer.ScanContinues()) {
        walk.totals.stopped = true;
        break;
      }
      const std::u16string name = ListingName(listing);
      const EntryKind kind = ListingKind(listing);
      if (TextEquals(name, u".") || TextEquals(name, u"..")) continue;
      if (kind == EntryKind::Directory) {
        ScanFolder(directory + name, walk);
        continue;
      }
      if (kind != EntryKind::File) continue;
      if (!IsImageName(name)) {
        if (LooksLikeImageName(name)) ++walk.totals.skipped_names;
        continue;
      }

      const std::u16string full_path = directory + name;
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
  Walk walk{base, scene_file, observer, {}, {}};
  ScanFolder(directory, walk);
  return walk.totals;
}
