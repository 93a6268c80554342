#pragma once
// Operations on paths rather than on open files.
#include <string>

// Renames `from` to `to`, replacing a file at `to`. 0 on success, else the system's code.
int PathRename(const std::u16string& from, const std::u16string& to);
// Gives the file at `to` the permission bits of the file at `from` and, where the process
// may (as root), its owner and group. Nothing when `from` is missing; a failure leaves
// `to` as it was.
void PathCopyPermissions(const std::u16string& from, const std::u16string& to);
// True when something (anything, a broken link included) stands at the path.
bool PathExists(const std::u16string& path);
// Removes a file; nothing when it is not there.
void PathRemove(const std::u16string& path);
// The system's description of an error code, in the user's language where it has one.
std::u16string SystemErrorText(int code);
