#include "app/scene/image_scan.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <new>
#include <optional>
#include <set>
#include <vector>

#include "app/scene/measure_pool.h"
#include "app/scene/scene_format.h"
#include "app/scene/size_store.h"
#include "fs/files.h"
#include "fs/folder_identity.h"
#include "fs/listings.h"
#include "fs/object_table.h"
#include "fs/path_limit.h"
#include "fs/path_ops.h"
#include "fs/path_separator.h"
#include "fs/platform_file.h"
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

// An entry of a folder as its listing gave it.
struct Entry {
  std::u16string name;
  EntryKind kind = EntryKind::None;
  bool is_link = false;
  std::optional<FolderIdentity> identity;  // a folder's, where the listing told it
};

// A folder the walk is inside: its entries, read in full when it was entered, and how
// far the walk has come through them. The walk keeps these on a stack of its own, so the
// depth of a tree is bounded by memory, and holds no folder open below the one it reads.
struct OpenFolder {
  std::u16string directory;  // ends in a separator
  std::vector<Entry> entries;
  size_t next = 0;
  bool has_identity = false;  // pushed on Walk::open_folders
};

struct Walk {
  const std::u16string& base;
  int64_t scene_file;
  ScanObserver& observer;
  MeasurePool& pool;
  SizeStore* store;  // none: every image is measured
  // The folders the walk is inside, outermost first, and every folder it has entered.
  std::vector<FolderIdentity> open_folders;
  std::set<FolderIdentity> entered;
  std::deque<Pending> queue;
  std::vector<OpenFolder> stack;
  ScanResult result{};
};

// Runs a measuring on this thread and tells a failure of the system's (a read error, no
// descriptor or memory left) from a file that is no image: either gives 1 x 1.
template <typename Measure>
Measurement MeasureTelling(Measure measure, const std::u16string& path) {
  PlatformSetLastError(0);
  try {
    if (const std::optional<ImageSize> size = measure(path)) return {*size};
  } catch (const std::bad_alloc&) {
    // A decoder's own allocation failed: no fault of the file's, and no reason to end.
    return {{1, 1}, kOutOfMemoryError};
  }
  const int error = PlatformLastError();
  return {{1, 1}, IsSystemFault(error) ? error : 0};
}

// The image's size, 1 x 1 when it cannot be loaded.
Measurement MeasureExactly(const std::u16string& path) { return MeasureTelling(MeasureImageFile, path); }

// The header's size, 1 x 1 when the header is unusable.
Measurement MeasureQuickly(const std::u16string& path) { return MeasureTelling(QuickImageFileSize, path); }

// Through the numbered image table, which is not thread-safe: only ever one worker.
Measurement MeasureByBitmap(const std::u16string& path) {
  return MeasureTelling(
      [](const std::u16string& file) -> std::optional<ImageSize> {
        const int64_t image = ReadImageFile(kAutoNumber, file);
        if (image == 0) return std::nullopt;
        const ImageSize size{static_cast<int32_t>(ImagePixelWidth(image)),
                             static_cast<int32_t>(ImagePixelHeight(image))};
        ReleaseImage(image);
        return size;
      },
      path);
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
      FileWriteLine(walk.scene_file, AddImageLine(next.text, size->size.width, size->size.height),
                    TextFormat::Ansi);
      // Its line stands as the format wants it, but the user hears that it is no true size.
      if (size->system_error != 0) {
        ++walk.result.unmeasured;
        walk.observer.EntryUnreadable(walk.base + next.text, size->system_error);
      }
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

// Reads the folder's entries in the system's order; false when it cannot be listed, with
// the system's reason in `error`. A listing cut short by an error keeps what it read.
bool ReadEntries(Walk& walk, const std::u16string& directory, std::vector<Entry>& entries, int& error) {
  const int64_t listing = ListingOpen(kAutoNumber, directory, u"*.*");
  if (listing == 0) {
    error = ListingLastError();
    return false;
  }
  while (Continues(walk) && ListingNext(listing)) {
    Entry entry{ListingName(listing), ListingKind(listing), ListingIsLink(listing), ListingFolderIdentity(listing)};
    if (TextEquals(entry.name, u".") || TextEquals(entry.name, u"..")) continue;
    entries.push_back(std::move(entry));
  }
  error = ListingError(listing);
  ListingClose(listing);
  return true;
}

// Enters a folder: reports it and puts its entries on the walk's stack, or reports why it
// cannot be listed. known: the folder's identity as its parent's listing found it, if it did.
void EnterFolder(const std::u16string& given, Reached reached, Walk& walk,
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
  }

  OpenFolder folder{directory, {}, 0, false};
  int error = 0;
  const bool listed = ReadEntries(walk, directory, folder.entries, error);
  // A system that gives no reason still must not make the failure look like success.
  if (!listed) error = FailureCode(error);
  if (reached == Reached::Start) {
    // The scanned folder itself: a listing that failed, at once or part way, is an error,
    // so that no scene lists only part of it, also when the folder could not be looked at
    // (as a folder denying access cannot). The path of a file lists nothing.
    const bool is_file = !identity && PathExists(given) && !PathIsFolder(given);
    if (error != 0 && !is_file) walk.result.folder_error = error;
    if (!listed || error != 0) return;
  }
  if (listed) Enqueue(walk, {directory, Pending::Folder});
  // Below it, the folder's entries read before the error stay in the scene, with a word.
  if (error != 0) Enqueue(walk, {directory, Pending::Unreadable, error});
  if (!listed) return;
  if (identity) walk.open_folders.push_back(*identity);
  folder.has_identity = identity.has_value();
  walk.stack.push_back(std::move(folder));
}

// The entry's part in the walk: a folder to enter, an image to measure, or nothing.
void TakeEntry(const std::u16string& directory, const Entry& entry, Walk& walk) {
  if (entry.kind == EntryKind::Directory) {
    EnterFolder(directory + entry.name, entry.is_link ? Reached::ThroughLink : Reached::Directly, walk,
                entry.identity);
    return;
  }
  if (entry.kind != EntryKind::File) return;
  if (!IsImageName(entry.name)) {
    if (LooksLikeImageName(entry.name)) walk.result.skipped_names.Add(entry.name);
    return;
  }
  std::u16string full_path = directory + entry.name;
  // A path the system would refuse cannot be measured: it is left out, with a word,
  // rather than listed with a size nobody read.
  if (!PathFitsSystem(full_path)) {
    Enqueue(walk, {std::move(full_path), Pending::Unreadable, kPathTooLongError});
    return;
  }
  std::u16string relative = TextTail(full_path, TextLength(full_path) - TextLength(walk.base));
  Enqueue(walk, {std::move(relative), Pending::Image}, std::move(full_path));
}

// Walks the tree depth first, in each folder's listing order.
void WalkTree(const std::u16string& directory, Walk& walk) {
  EnterFolder(directory, Reached::Start, walk);
  while (!walk.stack.empty()) {
    OpenFolder& top = walk.stack.back();
    if (top.next == top.entries.size() || !Continues(walk)) {
      if (top.has_identity) walk.open_folders.pop_back();
      walk.stack.pop_back();
      continue;
    }
    // Entering a folder grows the stack and moves `top`: the entry is taken out first.
    const Entry entry = std::move(top.entries[top.next++]);
    TakeEntry(top.directory, entry, walk);
  }
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
  SizeStore* store = options.measure == MeasureMode::Bitmap ? nullptr : options.store;
  if (store) store->ScanBegins(options.measure);
  MeasurePool pool(measure, workers, kQueueLength);
  Walk walk{base, scene_file, observer, pool, store, {}, {}, {}, {}};
  WalkTree(directory, walk);
  Report(walk, 0);
  if (store) store->ScanEnds();
  return walk.result;
}
