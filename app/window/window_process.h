#pragma once
// The process button's command in the window.

// Writes the scene file of the folder selected in FolderTree, showing each image in
// ImageLog as it is found and a summary at the end. The window stays alive meanwhile:
// Escape, the quit button, Ctrl+Q and the close box cancel the scan, and the previous scene
// file stays. A scene that cannot be written or read back is explained in a message.
void ProcessCommand();
