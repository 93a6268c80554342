#pragma once
// The walk that finds and measures the images below a folder and writes their lines.
#include <cstdint>
#include <string>

// Told about the walk as it goes. The window shows each image in its log list; the batch
// program prints it.
class ScanObserver {
 public:
  virtual ~ScanObserver() = default;
  virtual void ImageFound(const std::u16string& relative_path) = 0;
  // Before a folder's entries are read; `directory` ends in a separator.
  virtual void FolderEntered(const std::u16string& /*directory*/) {}
  // Asked on the scan's thread before every entry; false stops the walk there: no more
  // lines are written. The window keeps itself alive from here.
  virtual bool ScanContinues() { return true; }
};

// What one walk did.
struct ScanTotals {
  int64_t images = 0;  // lines written
  // Files whose names end in an image extension in another case (IMG_1.JPG) or in
  // .jpeg: not scanned, since the test is exact, but worth a hint.
  int64_t skipped_names = 0;
  bool stopped = false;  // ScanContinues answered false
};

// Walks `directory` depth first in listing order. For every file whose name ends in png,
// jpg, gif or hdr (exact case) it measures the image (1 x 1 when it cannot be loaded),
// writes its add_image line to `scene_file` in Ansi and reports its path relative to
// `base` (the first TextLength(base) characters of the full path cut off). Folders that
// cannot be read are skipped; a folder the walk is already inside is never entered again.
ScanTotals ImageScan(const std::u16string& directory, const std::u16string& base, int64_t scene_file,
                     ScanObserver& observer);
