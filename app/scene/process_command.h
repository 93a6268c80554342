#pragma once
// One scene run, as both programs make it: the window's process button for the selected
// path, the batch program for each folder it is given.
#include <string>

#include "app/scene/image_scan.h"
#include "app/scene/scene_file_writer.h"

struct ProcessOptions {
  ScanOptions scan;
  // The scene is the one this POV-Ray version reads.
  PovVersion version = PovVersion::Pov38;
  // Whether the written scene is opened again and read through, which proves that it
  // can be read; the window does, the batch program leaves that to whoever reads it.
  bool read_back = true;
};

struct ProcessResult {
  bool ran = false;        // false for an empty selection: nothing was done
  bool had_scene = false;  // a scene file stood there before the run
  SceneFileResult scene;
  int read_error = 0;  // why the written scene could not be opened again; 0 when it was
};

// For a selected path (a folder's path ends in its separator): writes
// <path>image_scan.pov through WriteSceneFileSafely, then, where asked, opens it again as
// file 5 (read only) and reads it through. An empty path does nothing.
ProcessResult ProcessFolder(const std::u16string& selected_path, ScanObserver& observer,
                            const ProcessOptions& options = {});
