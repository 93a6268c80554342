#pragma once
// Writing a folder's scene file so that it is either complete or not there at all: the
// scene goes to a temporary file beside it, which replaces image_scan.pov only once
// every byte of it is written and on the disk.
#include <cstdint>
#include <string>

#include "app/scene/image_scan.h"
#include "app/scene/scene_format.h"

struct SceneFileResult {
  std::u16string path;       // the scene file, or what could not be written
  int system_error = 0;      // 0 when the scene file was written
  int64_t image_count = 0;   // images listed in it
};

// `folder` ends in its separator and is both the scanned folder and the base.
SceneFileResult WriteSceneFileSafely(const std::u16string& folder, ScanObserver& observer,
                                     PovVersion version = PovVersion::Pov38);
