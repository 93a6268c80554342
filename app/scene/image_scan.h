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
  // An entry below the scanned folder that could not be read, with the system's error
  // code: a folder that cannot be listed, or a path longer than the system takes. The
  // walk goes on without it (an image whose path is too long still gets its 1 x 1 line).
  virtual void EntryUnreadable(const std::u16string& /*path*/, int /*system_error*/) {}
};

struct ScanTotals {
  int64_t images = 0;        // lines written
  int64_t unreadable = 0;    // entries reported to EntryUnreadable
  int folder_error = 0;      // why the scanned folder itself could not be listed; 0 when it could
};

// Walks `directory` depth first in listing order. For every file whose name ends in png,
// jpg, gif or hdr (exact case) it measures the image (1 x 1 when it cannot be loaded),
// writes its add_image line to `scene_file` in Ansi and reports its path relative to
// `base` (the first TextLength(base) characters of the full path cut off). Folders below
// that cannot be read are reported and skipped. A folder the walk is already inside is
// never entered again, nor is a folder reached through a symbolic link when the walk has
// entered it before by any path; so links make no folder be walked twice over them.
ScanTotals ImageScan(const std::u16string& directory, const std::u16string& base, int64_t scene_file,
                     ScanObserver& observer);
