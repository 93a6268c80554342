#include "app/scene/scene_file_writer.h"

#include <random>

#include "app/scene/process_command.h"
#include "app/scene/scene_format.h"
#include "fs/files.h"
#include "fs/path_ops.h"

namespace {

std::u16string TemporaryName() {
  std::random_device random;
  const uint64_t value = (uint64_t{random()} << 32) | random();
  std::u16string name = u".image_scan.pov.";
  for (int shift = 60; shift >= 0; shift -= 4) name += u"0123456789abcdef"[(value >> shift) & 0xF];
  return name + u".tmp";
}

}  // namespace

SceneFileResult WriteSceneFileSafely(const std::u16string& folder, ScanObserver& observer,
                                     PovVersion version) {
  SceneFileResult result;
  const std::u16string target = folder + kSceneFileName;
  const std::u16string temporary = folder + TemporaryName();

  const int64_t file = FileCreate(kAutoNumber, temporary, 0);
  if (file == 0) {
    result.system_error = FileLastError();
    result.path = folder;  // the folder refuses new files
    return result;
  }
  result.image_count = WriteScene(file, folder, observer, version);
  int error = FileSync(file);
  FileClose(file);
  if (error == 0) error = PathRename(temporary, target);
  if (error != 0) {
    PathRemove(temporary);
    result.system_error = error;
  }
  result.path = target;
  return result;
}
