#pragma once
// Writing a folder's scene file so that it is either complete or not there at all: the
// scene goes to a temporary file beside it, which replaces image_scan.pov only once
// every byte of it is written and on the disk.
#include <cstdint>
#include <string>

#include "app/scene/image_scan.h"
#include "app/scene/scene_format.h"

struct SceneFileResult {
  std::u16string path;       // the scene file, or what could not be written or read
  int system_error = 0;      // 0 when the scene file was written
  bool folder_unreadable = false;  // the error: `path`, the scanned folder, cannot be listed
  int64_t image_count = 0;   // images listed in it
  int64_t unreadable = 0;    // entries below the folder the scan could not read
  bool stopped = false;      // the observer stopped the scan; the old file stays as it was
};

// `folder` ends in its separator and is both the scanned folder and the base. When the
// folder itself cannot be listed nothing is written and an earlier scene file stays.
SceneFileResult WriteSceneFileSafely(const std::u16string& folder, ScanObserver& observer,
                                     const ScanOptions& options = {},
                                     PovVersion version = PovVersion::Pov38);
