#pragma once
// Operations on paths rather than on open files.
#include <string>

// True when something (anything, a broken link included) stands at the path.
bool PathExists(const std::u16string& path);
// True when a folder stands at the path (links followed), whether or not it may be read.
bool PathIsFolder(const std::u16string& path);
// The path from the root, as the folder tree names it: a relative path taken from the
// current folder, with "." and ".." resolved; the path itself when that cannot be done.
std::u16string PathFromRoot(const std::u16string& path);
// The system's description of an error code, in the user's language where it has one.
std::u16string SystemErrorText(int code);
