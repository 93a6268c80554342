#pragma once
// Writing a folder's scene file: header, one line per image, footer.
#include <cstdint>
#include <string>

#include "app/scene/image_scan.h"
#include "app/scene/scene_format.h"

// The file number the scene file is written and read back under.
inline constexpr int64_t kSceneFileNumber = 5;

// Writes the header, the lines of the scan of `folder` (relative to `folder`) and the
// footer to the open file `scene_file`, each piece ending in CR LF, the blocks those of
// the scene for `version`.
ScanResult WriteScene(int64_t scene_file, const std::u16string& folder, ScanObserver& observer,
                      const ScanOptions& options = {}, PovVersion version = PovVersion::Pov38);

// The process command for a selected path (a folder's path ends in its separator):
// creates <path>image_scan.pov as file 5, writes the scene, closes it, then opens it
// again and reads it through. Returns false only when that second open fails, which the
// caller reports to the user. An empty path does nothing and returns true.
bool ProcessFolder(const std::u16string& selected_path, ScanObserver& observer);
