#pragma once
// Writing a folder's scene file so that it is either complete or not there at all: the
// scene goes to a hidden temporary file beside it, which replaces image_scan.pov only
// once every byte of it is written and on the disk.
#include <cstdint>
#include <string>

#include "app/scene/image_scan.h"
#include "app/scene/scene_format.h"

// The file number the scene file is written and read back under.
inline constexpr int64_t kSceneFileNumber = 5;

// The scan's counts, and what became of the file. `stopped`: the caller's observer
// stopped the scan (a write that failed stops it too, but is an error); the old file
// stays as it was.
struct SceneFileResult : ScanResult {
  std::u16string path;             // the scene file written, or what could not be written or read
  int system_error = 0;            // the first failure's system code; 0 when written or stopped
  bool folder_unreadable = false;  // the error: `path`, the scanned folder, cannot be listed
};

// The batch program's exit status for the run: 0 for a complete scene; 3 for a scene
// written without some folders or files it could not read, or with images the system
// failed to read; 1 when nothing was written (the old scene stays).
int SceneExitStatus(const SceneFileResult& result);

// Writes <folder>image_scan.pov (no separator added): header, an add_image line for each
// image the scan of `folder` (also its base) reports, footer, each ending in CR LF. The
// temporary file is made once the folder has been listed, before any image is reported.
// The path of a file gets a scene of header and footer alone. On any failure, when the
// folder itself cannot be listed, and when the observer stops the scan, the temporary
// file goes and an earlier scene file stays byte for byte.
SceneFileResult WriteSceneFileSafely(const std::u16string& folder, ScanObserver& observer,
                                     const ScanOptions& options = {}, PovVersion version = PovVersion::Pov38);
