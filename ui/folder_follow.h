#pragma once
// Following one folder on disk for a window: names created, renamed or deleted in it,
// and files written there.
#include <cstdint>
#include <string>

// From now on a change in the folder queues CommandEvent with `command` for the
// window, once a burst of changes has gone quiet for a moment (and at least every
// half second while it goes on). One folder is followed at a time: a new call replaces
// the last; an empty path, or a folder the system will not watch, follows nothing.
void FolderFollow(int64_t window, const std::u16string& folder, int64_t command);
