#pragma once
// The process command for a selected path, as the window's process button runs it.
#include <string>
#include <vector>

#include "app/scene/image_scan.h"
#include "app/scene/scene_file_writer.h"

struct ProcessResult {
  bool ran = false;        // false for an empty selection: nothing was done
  bool had_scene = false;  // a scene file stood there before the run
  SceneFileResult scene;
  int read_error = 0;  // why the written scene could not be opened again; 0 when it was
};

// For a selected path (a folder's path ends in its separator): writes
// <path>image_scan.pov through WriteSceneFileSafely, then opens it again as file 5 (read
// only) and reads it through, which proves it can be read. An empty path does nothing.
// The scene is the one POV-Ray `version` reads. `store`: sizes measured before, as
// ScanOptions has it.
ProcessResult ProcessFolder(const std::u16string& selected_path, ScanObserver& observer,
                            PovVersion version = PovVersion::Pov38, SizeStore* store = nullptr);

// What the user must be told in a message after a run: which file and why it could not
// be written or read back. Empty when there is nothing to tell.
std::u16string ProcessFailureText(const ProcessResult& result);

// The rows that close the image list after a run: the failure, the cancellation, or the
// count of images written with the warnings and hints that apply.
std::vector<std::u16string> ProcessSummaryRows(const ProcessResult& result);
