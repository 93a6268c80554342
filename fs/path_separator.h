#pragma once
// The characters that separate the folders of a path: "/" everywhere, and on Windows
// "\" as well.
#include <cstddef>
#include <string_view>

bool IsFolderSeparator(char16_t unit);
// The separator the system itself writes: "/" on Linux, "\" on Windows.
extern const char16_t kFolderSeparator;

// Whether the path ends in a separator (the empty path does not).
bool PathEndsInSeparator(std::u16string_view path);
// Where the path's last name starts: just past its last separator, else 0.
size_t PathNameStart(std::u16string_view path);
