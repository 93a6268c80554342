#include "app/scene/image_scan.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <set>
#include <vector>

#include "app/scene/measure_pool.h"
#include "app/scene/scene_format.h"
#include "fs/files.h"
#include "fs/folder_identity.h"
#include "fs/listings.h"
#include "fs/object_table.h"
#include "fs/path_limit.h"
#include "fs/path_ops.h"
#include "fs/path_separator.h"
#include "fs/processor_count.h"
#include "fs/system_errors.h"
#include "fs/text.h"
#include "image/image_loader.h"
#include "image/image_table.h"
#include "image/quick_size.h"

namespace {

using std::chrono::milliseconds;

// The longest the walk waits for a size before it asks the observer again.
constexpr milliseconds kWaitStep{20};
// Folders and images found but not yet reported. Bounds how far the walk runs ahead of
// the measuring, and so the memory a huge tree takes.
constexpr size_t kQueueLength = 64;

// A folder entered, an image found or an entry that could not be read, waiting to be
// reported in the walk's order.
struct Pending {
  enum Kind { Folder, Image, Unreadable };
  std::u16string text;  // the folder's path, the image's relative path, the entry's path
  Kind kind = Folder;
  int system_error = 0;  // why the entry could not be read
};

// How the walk came to a folder.
enum class Reached { Start, Directly, ThroughLink };

struct Walk {
  const std::u16string& base;
  int64_t scene_file;
  ScanObserver& observer;
  MeasurePool& pool;
  // The folders the walk is inside, outermost first, and every folder it has entered.
  std::vector<FolderIdentity> open_folders;
  std::set<FolderIdentity> entered;
  std::deque<Pending> queue;
  ScanResult result{};
};

// The image's size, 1 x 1 when it cannot be loaded.
ImageSize MeasureExactly(const std::u16string& path) {
  return MeasureImageFile(path).value_or(ImageSize{1, 1});
}

// The header's size, 1 x 1 when the header is unusable.
ImageSize MeasureQuickly(const std::u16string& path) {
  return QuickImageFileSize(path).value_or(ImageSize{1, 1});
}

// Through the numbered image table, which is not thread-safe: only ever one worker.
ImageSize MeasureByBitmap(const std::u16string& path) {
  const int64_t image = ReadImageFile(kAutoNumber, path);
  if (image == 0) return {1, 1};
  const ImageSize size{static_cast<int32_t>(ImagePixelWidth(image)),
                       static_cast<int32_t>(ImagePixelHeight(image))};
  ReleaseImage(image);
  return size;
}

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

// Asks the observer whether to go on: before every entry and report, and while waiting.
bool Continues(Walk& walk) {
  if (walk.result.stopped) return false;
  walk.result.stopped = !walk.observer.ScanContinues();
  return !walk.result.stopped;
}

// Reports the queued folders and images in order: each one whose size is ready, then,
// waiting for sizes, until at most `keep` remain queued.
void Report(Walk& walk, size_t keep) {
  while (!walk.queue.empty() && Continues(walk)) {
    const Pending& next = walk.queue.front();
    if (next.kind == Pending::Image) {
      const bool must = walk.queue.size() > keep;
      const auto size = walk.pool.TakeOldest(must ? kWaitStep : milliseconds{0});
      if (!size) {
        if (!must) return;
        continue;
      }
      ++walk.result.images;
      walk.observer.ImageFound(next.text);
      FileWriteLine(walk.scene_file, AddImageLine(next.text, size->width, size->height), TextFormat::Ansi);
    } else if (next.kind == Pending::Unreadable) {
      ++walk.result.unreadable;
      walk.observer.EntryUnreadable(next.text, next.system_error);
    } else {
      walk.observer.FolderEntered(next.text);
    }
    walk.queue.pop_front();
  }
}

void Enqueue(Walk& walk, Pending pending, std::u16string full_path = {}) {
  // Room for it first: the pool holds as many jobs as the queue has places.
  Report(walk, kQueueLength - 1);
  if (walk.result.stopped) return;
  if (pending.kind == Pending::Image) walk.pool.Submit(std::move(full_path));
  walk.queue.push_back(std::move(pending));
}

// known: the folder's identity as its parent's listing found it, if it did.
void ScanFolder(const std::u16string& given, Reached reached, Walk& walk,
                std::optional<FolderIdentity> known = std::nullopt) {
  // On Linux a backslash is an ordinary name character, so a folder whose name ends in
  // one still gets its "/".
  std::u16string directory = given;
  if (!PathEndsInSeparator(directory)) directory += u'/';

  // A link back to a folder the walk is inside would never end, and links that lead to
  // folders already walked would walk them again for every path there is to them.
  const auto identity = known ? known : FolderIdentityOf(directory);
  if (identity) {
    for (const FolderIdentity& open : walk.open_folders) {
      if (open == *identity) return;
    }
    if (!walk.entered.insert(*identity).second && reached == Reached::ThroughLink) return;
    walk.open_folders.push_back(*identity);
  }

  const int64_t listing = ListingOpen(kAutoNumber, directory, u"*.*");
  if (listing == 0) {
    const int error = FailureCode(ListingLastError());
    if (reached != Reached::Start) {
      Enqueue(walk, {directory, Pending::Unreadable, error});
    } else if (identity || !PathExists(given)) {
      walk.result.folder_error = error;
    }  // else the path of a file was given, which lists nothing
  } else {
    Enqueue(walk, {directory, Pending::Folder});
    while (Continues(walk) && ListingNext(listing)) {
      const std::u16string name = ListingName(listing);
      const EntryKind kind = ListingKind(listing);
      if (TextEquals(name, u".") || TextEquals(name, u"..")) continue;
      if (kind == EntryKind::Directory) {
        ScanFolder(directory + name, ListingIsLink(listing) ? Reached::ThroughLink : Reached::Directly, walk,
                   ListingFolderIdentity(listing));
        continue;
      }
      if (kind != EntryKind::File) continue;
      if (!IsImageName(name)) {
        if (LooksLikeImageName(name)) ++walk.result.skipped_names;
        continue;
      }

      std::u16string full_path = directory + name;
      if (!PathFitsSystem(full_path)) Enqueue(walk, {full_path, Pending::Unreadable, kPathTooLongError});
      std::u16string relative = TextTail(full_path, TextLength(full_path) - TextLength(walk.base));
      Enqueue(walk, {std::move(relative), Pending::Image}, std::move(full_path));
    }
    ListingClose(listing);
  }
  if (identity) walk.open_folders.pop_back();
}

}  // namespace

ScanResult ImageScan(const std::u16string& directory, const std::u16string& base, int64_t scene_file,
                     ScanObserver& observer, const ScanOptions& options) {
  SizeMeasurer measure = MeasureExactly;
  int workers = 0;
  switch (options.measure) {
    case MeasureMode::Exact: {
      const int processors = ProcessorCount();
      workers = options.workers > 0 ? std::min(options.workers, processors) : processors;
      break;
    }
    case MeasureMode::Quick:
      // Reading a header costs less than handing the job to another thread and back.
      measure = MeasureQuickly;
      break;
    case MeasureMode::Bitmap:
      measure = MeasureByBitmap;
      workers = 1;
      break;
  }
  MeasurePool pool(measure, workers, kQueueLength);
  Walk walk{base, scene_file, observer, pool, {}, {}, {}};
  ScanFolder(directory, Reached::Start, walk);
  Report(walk, 0);
  return walk.result;
}
