#include "app/scene/image_scan.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <memory>
#include <new>
#include <optional>
#include <set>
#include <vector>

#include "app/scene/measure_pool.h"
#include "app/scene/scanned_names.h"
#include "app/scene/size_store.h"
#include "fs/folder_handle.h"
#include "fs/folder_identity.h"
#include "fs/link_rule.h"
#include "fs/listings.h"
#include "fs/object_table.h"
#include "fs/path_limit.h"
#include "fs/path_separator.h"
#include "fs/plain_file_open.h"
#include "fs/platform_file.h"
#include "fs/processor_count.h"
#include "fs/system_errors.h"
#include "fs/text.h"
#include "fs/whole_file.h"
#include "image/image_loader.h"
#include "image/image_source.h"
#include "image/image_table.h"
#include "image/quick_size.h"

namespace {

using std::chrono::milliseconds;

// The longest the walk waits for a size before it asks the observer again.
constexpr milliseconds kWaitStep{20};
// Folders and images found but not yet reported. Bounds how far the walk runs ahead of
// the measuring, and so the memory a huge tree takes.
constexpr size_t kQueueLength = 64;
// When the queue is full the walk waits (at most kWaitStep) for half of it to be measured,
// so that it is woken once for many images, not for each, while the workers go on with
// the other half.
constexpr uint64_t kTakeTogether = kQueueLength / 2;

// A folder entered, an image found or an entry that could not be read, waiting to be
// reported in the walk's order.
struct Pending {
  enum Kind { Folder, Image, Unreadable };
  std::u16string text;  // the folder's path, the image's relative path, the entry's path
  Kind kind = Folder;
  int system_error = 0;  // why the entry could not be read
  // An image's stamp as its folder's listing gave it, where the store of sizes was asked
  // for it, and its size where the store had it for that stamp (no job measures it then).
  std::optional<FileStamp> stamp{};
  std::optional<ImageSize> stored{};
  // An image not looked at first: its folder's file system, where known.
  std::optional<uint64_t> folder_device{};
};

// How the walk came to a folder.
enum class Reached { Start, Directly, ThroughLink };

// An entry of a folder as its listing gave it.
struct Entry {
  std::u16string name;
  EntryKind kind = EntryKind::None;
  bool is_link = false;
  bool is_plain = false;                   // a regular file, as the listing saw it
  std::optional<FolderIdentity> identity;  // a folder's, where the listing told it
  std::optional<uint32_t> link_owner;      // a link's own, where the listing told it
  std::optional<FileStamp> stamp{};        // an image's, where the store may answer for it
  std::optional<SizeStore::Kept> kept{};   // what the store keeps of its file number, if asked
};

// Which of a folder's images the walk looks at before they are opened, for the store's
// lookup: none where the store cannot answer for the folder's file system; where it can,
// those of a file number the store keeps a size of (the folder's record tells the number,
// the folder its file system), or every one where either is not known.
struct ImageLooks {
  bool any = false;
  std::optional<uint64_t> device;  // file numbers are asked of the store on this file system
};

// A folder the walk is inside: its entries, read in full when it was entered, and how
// far the walk has come through them. The walk keeps these on a stack of its own, so the
// depth of a tree is bounded by memory, and holds no folder open below the one it reads.
struct OpenFolder {
  std::u16string directory;  // ends in a separator
  std::vector<Entry> entries;
  size_t next = 0;
  std::optional<FolderIdentity> identity;  // pushed on Walk::open_folders where known
  // Held while the walk reads this folder, not while it is below it: a deep tree holds
  // few descriptors. The measuring of its images holds it too.
  std::shared_ptr<const FolderHandle> handle;
  bool lost = false;  // could not be held again: its remaining images are left out
};

struct Walk {
  const std::u16string& base;
  ScanObserver& observer;
  MeasurePool& pool;
  SizeStore* store;  // none: every image is measured
  // The folders the walk is inside, outermost first, and every folder it has entered.
  std::vector<FolderIdentity> open_folders;
  std::set<FolderIdentity> entered;
  std::deque<Pending> queue;
  std::vector<OpenFolder> stack;
  // Every image is looked at before it is measured from now on: one was measured on
  // another file system than its folder's, one the store has sizes of.
  bool look_at_images = false;
  ScanResult result{};
};

// Opens the job's file and sizes it with `size_of` (which reports a refused read in
// its last argument). Any refusal by the system, in opening, looking at or reading the
// file, is told from bytes that are no picture the loader takes: either gives 1 x 1.
template <typename SizeOf>
Measurement MeasureOpened(const MeasureJob& job, SizeOf size_of) {
  OpenedFile opened = OpenPlainFileAt(*job.folder, job.name, job.listed_plain);
  Measurement result{{1, 1}, 0, opened.stamp};
  if (opened.kind == OpenedKind::Refused) {
    result.system_error = opened.error;
    return result;
  }
  // Not a plain file, or one too large to load: what the loader never takes.
  const auto bytes = static_cast<uint64_t>(opened.stamp.size);
  if (opened.kind == OpenedKind::NotPlain || bytes >= kWholeFileLimit) return result;
  try {
    if (const std::optional<ImageSize> size = size_of(std::move(opened.file), bytes, result.system_error))
      result.size = *size;
  } catch (const std::bad_alloc&) {
    // A decoder's own allocation failed: no fault of the file's, and no reason to end.
    result.system_error = kOutOfMemoryError;
  }
  return result;
}

// What a sizer gives for the file, read in windows of which the first has first_window bytes.
template <SourceSizer sizer, size_t first_window>
std::optional<ImageSize> SizeThroughSource(PlatformFile file, uint64_t bytes, int& error) {
  ImageSource source = ImageSource::OverFile(std::move(file), bytes, first_window);
  const std::optional<ImageSize> size = sizer(source);
  if (source.Failed()) error = source.ReadError();
  return size;
}

// The image's size, 1 x 1 when it cannot be loaded.
Measurement MeasureExactly(const MeasureJob& job) {
  return MeasureOpened(job, SizeThroughSource<MeasureImageSource, ImageSource::kWindowBytes>);
}

// The header's size, 1 x 1 when the header is unusable.
Measurement MeasureQuickly(const MeasureJob& job) {
  return MeasureOpened(job, SizeThroughSource<QuickImageSourceSize, ImageSource::kHeaderWindowBytes>);
}

// Through the numbered image table, which is not thread-safe: only ever one worker.
Measurement MeasureByBitmap(const MeasureJob& job) {
  return MeasureOpened(job, [](PlatformFile file, uint64_t bytes, int& error) -> std::optional<ImageSize> {
    const std::optional<FileBytes> data = ReadOpenedFile(file, bytes);
    if (!data) {
      error = PlatformLastError();
      return std::nullopt;
    }
    const int64_t image = DecodeImageMemory(kAutoNumber, data->Bytes());
    if (image == 0) return std::nullopt;
    const ImageSize size{static_cast<int32_t>(ImagePixelWidth(image)), static_cast<int32_t>(ImagePixelHeight(image))};
    ReleaseImage(image);
    return size;
  });
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
      std::optional<Measurement> size;
      if (next.stored) {
        size = Measurement{*next.stored, 0, {}};
      } else {
        const bool must = walk.queue.size() > keep;
        size = walk.pool.TakeOldest(must ? kWaitStep : milliseconds{0}, kTakeTogether);
        if (!size) {
          if (!must) return;
          continue;
        }
        // Kept only when its bytes were read through, under the stamp the open saw before
        // reading them (any change after it changes the stamp), and when the listing
        // looked at the file too, only where that is the file measured, unchanged since.
        if (walk.store && size->system_error == 0 && (!next.stamp || size->stamp == *next.stamp)) {
          const std::u16string path = walk.base + next.text;
          walk.store->Keep(size->stamp, path, size->size);
          if (!walk.look_at_images && next.folder_device && size->stamp.device != *next.folder_device)
            walk.look_at_images = walk.store->MayAnswerOn(size->stamp.device, path);
        }
      }
      if (size->system_error == kLinkNotFollowedError) {
        // Another user's link to what that user does not own is left out, with a word.
        ++walk.result.unreadable;
        walk.observer.EntryUnreadable(walk.base + next.text, size->system_error);
      } else {
        ++walk.result.images;
        walk.observer.ImageFound(next.text, size->size);
        // Its line stands as the format wants it, but the user hears that it is no true size.
        if (size->system_error != 0) {
          ++walk.result.unmeasured;
          walk.observer.EntryUnreadable(walk.base + next.text, size->system_error);
        }
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

void Enqueue(Walk& walk, Pending pending, MeasureJob job = {}) {
  // Room for it first: the pool holds as many jobs as the queue has places.
  Report(walk, kQueueLength - 1);
  if (walk.result.stopped) return;
  if (pending.kind == Pending::Image && !pending.stored) walk.pool.Submit(std::move(job));
  walk.queue.push_back(std::move(pending));
}

// Reads the folder's entries in the system's order; false when it cannot be listed, with
// the system's reason in `error`. A listing cut short by an error keeps what it read.
// Only what the walk needs is asked for: the kind of a plain file or folder comes with its
// name, and a plain file is looked at only where it is an image the store may know (the
// open looks at every image it measures).
bool ReadEntries(Walk& walk, const std::u16string& directory, ImageLooks looks, std::vector<Entry>& entries,
                 int& error) {
  const int64_t listing = ListingOpen(kAutoNumber, directory, u"*.*");
  if (listing == 0) {
    error = ListingLastError();
    return false;
  }
  while (Continues(walk) && ListingNext(listing)) {
    Entry entry;
    entry.name = ListingName(listing);
    if (TextEquals(entry.name, u".") || TextEquals(entry.name, u"..")) continue;
    entry.kind = ListingKind(listing);
    entry.is_link = ListingIsLink(listing);
    entry.is_plain = ListingIsPlainFile(listing);
    if (entry.kind == EntryKind::Directory) entry.identity = ListingFolderIdentity(listing);
    if (entry.is_link) entry.link_owner = ListingLinkOwner(listing);
    // A size measured before is not looked up through a link (see TakeEntry).
    if (looks.any && entry.kind == EntryKind::File && !entry.is_link && IsImageName(entry.name)) {
      const std::optional<uint64_t> node = looks.device ? ListingFileNumber(listing) : std::nullopt;
      if (node) entry.kept = walk.store->KeptFor(*looks.device, *node);
      if (entry.kept || !node) entry.stamp = ListingFileStamp(listing);
    }
    entries.push_back(std::move(entry));
  }
  error = ListingError(listing);
  ListingClose(listing);
  return true;
}

// Enters a folder: reports it and puts its entries on the walk's stack, or reports why it
// cannot be listed. known: the folder's identity as its parent's listing found it, if it
// did; link_owner: the owner of the link it was reached through, if the listing told it.
void EnterFolder(const std::u16string& given, Reached reached, Walk& walk,
                 std::optional<FolderIdentity> known = std::nullopt,
                 std::optional<uint32_t> link_owner = std::nullopt) {
  // On Linux a backslash is an ordinary name character, so a folder whose name ends in
  // one still gets its "/".
  std::u16string directory = given;
  if (!PathEndsInSeparator(directory)) directory += u'/';

  // Held from here on, so that the images measured are those of the folder looked at.
  int error = 0;
  std::shared_ptr<const FolderHandle> handle = FolderHandle::Open(directory, error);
  const auto identity = known ? known : handle ? handle->Identity() : std::nullopt;
  // Another user's link to a folder that user does not own is not followed.
  if (handle && link_owner && handle->Owner() && !LinkMayBeFollowed(*link_owner, *handle->Owner())) {
    Enqueue(walk, {directory, Pending::Unreadable, kLinkNotFollowedError});
    return;
  }

  // A link back to a folder the walk is inside would never end, and links that lead to
  // folders already walked would walk them again for every path there is to them.
  if (identity) {
    for (const FolderIdentity& open : walk.open_folders) {
      if (open == *identity) return;
    }
    if (!walk.entered.insert(*identity).second && reached == Reached::ThroughLink) return;
  }
  // The folder the parent's listing saw was swapped for another before it was held.
  if (handle && identity && handle->Identity() && *handle->Identity() != *identity) {
    Enqueue(walk, {directory, Pending::Unreadable, kChangedError});
    return;
  }

  OpenFolder folder{directory, {}, 0, identity, handle};
  ImageLooks looks;
  looks.any = walk.store && (!identity || walk.look_at_images || walk.store->MayAnswerOn(identity->device, directory));
  if (looks.any && identity && !walk.look_at_images) looks.device = identity->device;
  const bool listed = handle && ReadEntries(walk, directory, looks, folder.entries, error);
  // A system that gives no reason still must not make the failure look like success.
  if (!listed) error = FailureCode(error);
  if (reached == Reached::Start) {
    // The scanned folder itself: a listing that failed, at once or part way, is an error,
    // so that no scene lists only part of it, also when the folder could not be looked at
    // (as a folder denying access cannot).
    walk.result.folder_error = error;
    if (error != 0) return;
  }
  if (listed) Enqueue(walk, {directory, Pending::Folder});
  // Below it, the folder's entries read before the error stay in the scene, with a word.
  if (error != 0) Enqueue(walk, {directory, Pending::Unreadable, error});
  if (!listed) return;
  if (identity) walk.open_folders.push_back(*identity);
  // The parent is held again only when an image of its own comes next.
  if (!walk.stack.empty()) walk.stack.back().handle.reset();
  walk.stack.push_back(std::move(folder));
}

// Holds the folder again for its images after the walk came back from below it; false,
// with a word once, when it cannot be held or is another folder by now.
bool HoldAgain(OpenFolder& folder, Walk& walk) {
  if (folder.handle) return true;
  if (folder.lost) return false;
  int error = 0;
  folder.handle = FolderHandle::Open(folder.directory, error);
  if (folder.handle && folder.identity && folder.handle->Identity() != folder.identity) {
    folder.handle.reset();
    error = kChangedError;
  }
  if (folder.handle) return true;
  folder.lost = true;
  Enqueue(walk, {folder.directory, Pending::Unreadable, FailureCode(error)});
  return false;
}

// The entry's part in the walk: a folder to enter, an image to measure, or nothing.
void TakeEntry(OpenFolder& folder, const Entry& entry, Walk& walk) {
  if (entry.kind == EntryKind::Directory) {
    EnterFolder(folder.directory + entry.name, entry.is_link ? Reached::ThroughLink : Reached::Directly, walk,
                entry.identity, entry.link_owner);
    return;
  }
  if (entry.kind != EntryKind::File) return;
  if (!IsImageName(entry.name)) {
    if (LooksLikeImageName(entry.name)) walk.result.skipped_names.Add(entry.name);
    return;
  }
  std::u16string full_path = folder.directory + entry.name;
  // A path the system would refuse cannot be measured: it is left out, with a word,
  // rather than listed with a size nobody read.
  if (!PathFitsSystem(full_path)) {
    Enqueue(walk, {std::move(full_path), Pending::Unreadable, kPathTooLongError});
    return;
  }
  std::u16string relative = TextTail(full_path, TextLength(full_path) - TextLength(walk.base));
  // A size measured before answers without the file being opened. Not through a link,
  // which only opening it decides whether to follow.
  if (walk.store && entry.stamp && !entry.is_link) {
    const std::optional<ImageSize> size = entry.kept ? walk.store->Answer(*entry.kept, *entry.stamp, full_path)
                                                     : walk.store->Find(*entry.stamp, full_path);
    if (size) {
      Enqueue(walk, {std::move(relative), Pending::Image, 0, entry.stamp, size});
      return;
    }
  }
  if (!HoldAgain(folder, walk)) return;
  Pending image{std::move(relative), Pending::Image, 0, entry.stamp};
  if (!entry.stamp && folder.identity) image.folder_device = folder.identity->device;
  Enqueue(walk, std::move(image), {folder.handle, entry.name, entry.is_plain});
}

// Walks the tree depth first, in each folder's listing order.
void WalkTree(const std::u16string& directory, Walk& walk) {
  EnterFolder(directory, Reached::Start, walk);
  while (!walk.stack.empty()) {
    OpenFolder& top = walk.stack.back();
    if (top.next == top.entries.size() || !Continues(walk)) {
      if (top.identity) walk.open_folders.pop_back();
      walk.stack.pop_back();
      continue;
    }
    // Entering a folder grows the stack and moves `top`: the entry is taken out first.
    const Entry entry = std::move(top.entries[top.next++]);
    TakeEntry(top, entry, walk);
  }
}

}  // namespace

ScanResult ImageScan(const std::u16string& directory, const std::u16string& base, ScanObserver& observer,
                     const ScanOptions& options) {
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
  Walk walk{base, observer, pool, store, {}, {}, {}, {}};
  WalkTree(directory, walk);
  Report(walk, 0);
  if (store) store->ScanEnds();
  return walk.result;
}
