#pragma once
// Folders dropped onto a window from a file manager.
#include <cstdint>
#include <string>

// From now on a drop onto the window (or any control in it) that holds a folder queues
// CommandEvent with `command` for the window; a drop of files alone is refused, and the
// pointer says so while it is dragged. One window takes drops at a time.
void FolderDropAccept(int64_t window, int64_t command);
// The first folder of the last drop, ending in its separator; empty once taken.
std::u16string FolderDropTake();
