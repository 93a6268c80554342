#pragma once
// The walk that finds and measures the images below a folder.
#include <cstdint>
#include <string>

#include "app/scene/skipped_names.h"
#include "image/image_size.h"

class SizeStore;

// Told about the walk as it goes, always on the thread that runs the scan. The window
// shows each image in its log list; the batch program prints it; the scene's writer
// writes its line.
class ScanObserver {
 public:
  virtual ~ScanObserver() = default;
  // `size` is 1 x 1 for an image that could not be loaded.
  virtual void ImageFound(const std::u16string& relative_path, ImageSize size) = 0;
  // Before a folder's entries are reported; `directory` ends in a separator.
  virtual void FolderEntered(const std::u16string& /*directory*/) {}
  // Asked before every entry of a listing and every report, and every 20 ms while the
  // scan waits for a file to be measured, so a window can repaint and notice a cancel
  // (it keeps the answer cheap). False stops the scan: no further folder, image or line
  // is reported or written.
  virtual bool ScanContinues() { return true; }
  // An entry below the scanned folder that could not be read, with the system's error
  // code: a folder that cannot be listed (or listed to its end), a path longer than the
  // system takes, or another user's link the walk does not follow (see link_rule.h),
  // which the walk leaves out; or an image the system refused to open or failed to read
  // (any error of the system's: no permission, a read error, no descriptor or memory
  // left), whose line stands as 1 x 1.
  virtual void EntryUnreadable(const std::u16string& /*path*/, int /*system_error*/) {}
};

// How the images' sizes are found.
enum class MeasureMode {
  Exact,   // what loading the image gives, 1 x 1 when it cannot be loaded
  Quick,   // from the file's header alone (see QuickImageFileSize)
  Bitmap,  // by loading each image into the image table, on one worker only
};

struct ScanOptions {
  MeasureMode measure = MeasureMode::Exact;
  // Threads measuring ahead of the walk; 0 is one per processor. Never more than the
  // processors the process may use, and the bitmap mode always uses one.
  int workers = 0;
  // Sizes measured before, looked up before a file is measured and added to after (not
  // in the bitmap mode, which is there to be timed); none: every image is measured.
  SizeStore* store = nullptr;
};

struct ScanResult {
  int64_t images = 0;      // images reported to ImageFound
  bool stopped = false;    // the observer stopped the scan before its end
  int64_t unreadable = 0;  // entries left out, reported to EntryUnreadable
  int64_t unmeasured = 0;  // images listed as 1 x 1 for a failure of the system's, reported too
  int folder_error = 0;    // why the scanned folder itself could not be listed; 0 when it could
  // Files whose names end in an image extension in another case (IMG_1.JPG) or in .jpeg:
  // not scanned, since the test is exact, but worth a hint.
  SkippedNames skipped_names;
};

// Walks `directory` depth first in listing order. For every file whose name ends in png,
// jpg, gif or hdr (exact case) it measures the image and reports its path relative to
// `base` (the first TextLength(base) characters of the full path cut off) with its size.
// The files are measured on worker threads, but the reports come in the walk's order,
// exactly as one thread would give them. `directory` itself is listed before anything
// is reported: when that fails, at once or part way, nothing is reported and
// `folder_error` says why (also for the path of a file, which lists nothing). Folders
// below that cannot be read are reported and skipped. A folder the walk is already
// inside is never entered again, nor is a folder reached through a symbolic link when
// the walk has entered it before by any path; so links make no folder be walked twice
// over them.
ScanResult ImageScan(const std::u16string& directory, const std::u16string& base, ScanObserver& observer,
                     const ScanOptions& options = {});
