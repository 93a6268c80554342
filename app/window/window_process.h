#pragma once
// The process button's command in the window.
#include <cstdint>
#include <optional>
#include <string>

#include "app/scene/scene_format.h"
#include "app/window/app_numbers.h"

// Writes the scene file of the folder selected in FolderTree, showing each image in
// ImageLog as it is found and a summary at the end. The window stays alive meanwhile:
// Escape, the quit button, Ctrl+Q and the close box cancel the scan, and the previous scene
// file stays; presses of `button`, which started it, are dropped. A scene that cannot be
// written or read back is explained in a message. The scene is for `version`, else for
// the version chosen in the process button's menu. True when the scene was written.
bool ProcessCommand(std::optional<PovVersion> version = std::nullopt, int64_t button = kProcessButton);

// The scene file the process command is making, empty when it makes none: what a failure
// that ends the program mid-scan has left as it was.
const std::u16string& SceneBeingWritten();
