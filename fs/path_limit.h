#pragma once
// The longest path the system takes.
#include <string_view>

// Whether the path, as the bytes the system receives, is short enough to be opened.
// A longer one is refused rather than cut into another path.
bool PathFitsSystem(std::u16string_view path);

// The system's error code for a path that does not fit.
extern const int kPathTooLongError;
