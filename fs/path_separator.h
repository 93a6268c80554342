#pragma once
// The characters that separate the folders of a path: "/" everywhere, and on Windows
// "\" as well.
#include <cstddef>
#include <string>
#include <string_view>

bool IsFolderSeparator(char16_t unit);
// The separator the system itself writes: "/" on Linux, "\" on Windows.
extern const char16_t kFolderSeparator;

// Whether the path ends in a separator (the empty path does not).
bool PathEndsInSeparator(std::u16string_view path);
// Where the path's last name starts: just past its last separator, else 0.
size_t PathNameStart(std::u16string_view path);
// The path of a folder with a final separator, as a folder's text is: the separator the
// path already uses, else the system's own. The empty path, which names no folder, stays
// empty rather than becoming the root.
std::u16string PathAsFolder(std::u16string path);
