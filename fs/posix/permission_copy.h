#pragma once
// Handing a replaced file's owner, group, mode, access list and extended attributes to
// the new file that takes its place, so that the new one grants nobody an access the old
// one did not, and takes none away.
#include <sys/types.h>

#include <string>

// Gives `file` (open for writing, not yet in place) what the file `name` in `folder`
// has. Where no plain file stands there (none, or a link or other kind in its place), the
// new file gets `fresh_mode` alone. 0 when all of it was carried over; else the system's
// code, or kOwnerNotKeptError, kModeNotKeptError or kAttributesNotKeptError for what
// could not be. `path` is the replaced file's, for the fault seam.
int CopyPermissions(int folder, const char* name, int file, mode_t fresh_mode, const std::u16string& path);
