#pragma once
// The process button's command in the window.
#include <string>

// Writes the scene file of the folder selected in FolderTree, showing each image in
// ImageLog as it is found and a summary at the end. The window stays alive meanwhile:
// Escape, the quit button, Ctrl+Q and the close box cancel the scan, and the previous scene
// file stays. A scene that cannot be written or read back is explained in a message.
void ProcessCommand();

// The scene file the process command is making, empty when it makes none: what a failure
// that ends the program mid-scan has left as it was.
const std::u16string& SceneBeingWritten();
