#include "app/scene/scene_file_writer.h"

#include <random>

#include "app/scene/process_command.h"
#include "app/scene/scene_format.h"
#include "fs/exit_signals.h"
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
                                     const ScanOptions& options, PovVersion version) {
  SceneFileResult result;
  const std::u16string target = folder + kSceneFileName;
  const std::u16string temporary = folder + TemporaryName();

  // Armed before the file exists, so that no moment is left where a signal leaves it.
  const ExitSignalCleanup cleanup(temporary);
  const int64_t file = FileCreate(kAutoNumber, temporary, 0);
  if (file == 0) {
    result.system_error = FileLastError();
    result.path = folder;  // the folder refuses new files
    return result;
  }
  const ScanResult scan = WriteScene(file, folder, observer, options, version);
  result.image_count = scan.images;
  result.unreadable = scan.unreadable;
  result.stopped = scan.stopped;
  result.path = target;
  if (scan.stopped || scan.folder_error != 0) {
    // A scene cut short, or of a folder that could not be listed, would list only part of
    // the folder, or nothing: keep the one there was.
    FileClose(file);
    PathRemove(temporary);
    if (scan.folder_error != 0) {
      result.system_error = scan.folder_error;
      result.folder_unreadable = true;
      result.path = folder;
    }
    return result;
  }
  int error = FileSync(file);
  FileClose(file);
  if (error == 0) {
    PathCopyPermissions(target, temporary);
    error = PathRename(temporary, target);
  }
  if (error != 0) {
    PathRemove(temporary);
    result.system_error = error;
  }
  return result;
}
