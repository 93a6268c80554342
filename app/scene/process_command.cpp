#include "app/scene/process_command.h"

#include <new>

#include "app/scene/access_failure.h"
#include "app/scene/scene_format.h"
#include "app/scene/scene_report.h"
#include "fs/files.h"
#include "fs/path_ops.h"
#include "fs/system_errors.h"

ProcessResult ProcessFolder(const std::u16string& selected_path, ScanObserver& observer, PovVersion version,
                            SizeStore* store) {
  ProcessResult result;
  if (selected_path.empty()) return result;
  result.ran = true;
  result.had_scene = PathExists(selected_path + kSceneFileName);
  result.scene = WriteSceneFileSafely(selected_path, observer, {MeasureMode::Exact, 0, store}, version);
  if (result.scene.system_error != 0 || result.scene.stopped) return result;

  // Read access is all the proof needs: a scene that keeps an earlier file's read-only
  // mode is written all the same and must not be reported as unreadable.
  // Memory running out here is a failure to read the scene back, which is in place by now.
  try {
    if (FileOpenAs(FileOpenMode::ReadOnly, kSceneFileNumber, result.scene.path, 0) == 0) {
      result.read_error = FailureCode(FileLastError());
      return result;
    }
    while (FileAtEnd(kSceneFileNumber) == 0) FileReadLine(kSceneFileNumber, TextFormat::Ansi);
  } catch (const std::bad_alloc&) {
    result.read_error = kOutOfMemoryError;
  }
  FileClose(kSceneFileNumber);
  return result;
}

std::u16string ProcessFailureText(const ProcessResult& result) {
  const SceneFileResult& scene = result.scene;
  if (scene.system_error != 0)
    return AccessFailureText(scene.folder_unreadable ? Access::Read : Access::Write, scene.path, scene.system_error);
  if (result.read_error != 0) return AccessFailureText(Access::Read, scene.path, result.read_error);
  return {};
}

std::vector<std::u16string> ProcessSummaryRows(const ProcessResult& result) {
  if (!result.ran) return {};
  const std::u16string failure = ProcessFailureText(result);
  if (!failure.empty()) return {failure};
  const std::u16string& path = result.scene.path;
  if (result.scene.stopped) {
    return {result.had_scene ? u"Scan cancelled: the previous " + path + u" is kept"
                             : u"Scan cancelled: " + path + u" was not written"};
  }
  std::vector<std::u16string> rows = {SceneWrittenText(path, result.scene.images)};
  if (const std::u16string warning = SceneTableWarning(path, result.scene.images); !warning.empty())
    rows.push_back(u"Warning: " + warning);
  for (const std::u16string& warning :
       {UnreadableEntriesText(result.scene.unreadable), UnmeasuredImagesText(result.scene.unmeasured)}) {
    if (!warning.empty()) rows.push_back(u"Warning: " + warning);
  }
  if (const std::u16string hint = SkippedNamesHint(result.scene.skipped_names); !hint.empty()) rows.push_back(hint);
  return rows;
}
