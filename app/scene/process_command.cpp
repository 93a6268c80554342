#include "app/scene/process_command.h"

#include <new>

#include "app/scene/scene_format.h"
#include "fs/files.h"
#include "fs/path_ops.h"
#include "fs/system_errors.h"

namespace {

// Read access is all the proof needs: a scene that keeps an earlier file's read-only
// mode is written all the same and must not be reported as unreadable. 0 when it reads.
int ReadBack(const std::u16string& path) {
  int error = 0;
  // Memory running out here is a failure to read the scene back, which is in place by now.
  try {
    if (FileOpenAs(FileOpenMode::ReadOnly, kSceneFileNumber, path, 0) == 0) return FailureCode(FileLastError());
    while (FileAtEnd(kSceneFileNumber) == 0) FileReadLine(kSceneFileNumber, TextFormat::Ansi);
  } catch (const std::bad_alloc&) {
    error = kOutOfMemoryError;
  }
  FileClose(kSceneFileNumber);
  return error;
}

}  // namespace

ProcessResult ProcessFolder(const std::u16string& selected_path, ScanObserver& observer,
                            const ProcessOptions& options) {
  ProcessResult result;
  if (selected_path.empty()) return result;
  result.ran = true;
  result.had_scene = PathExists(selected_path + kSceneFileName);
  result.scene = WriteSceneFileSafely(selected_path, observer, options.scan, options.version);
  if (options.read_back && result.scene.system_error == 0 && !result.scene.stopped)
    result.read_error = ReadBack(result.scene.path);
  return result;
}
