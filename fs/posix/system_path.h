#pragma once
// A path as the bytes the system takes.
#include <optional>
#include <string>
#include <string_view>

// Escaped bytes (a name that is not valid UTF-8 goes back byte for byte); none for a path
// holding a NUL, which the system would otherwise read as a shorter path.
std::optional<std::string> SystemPath(std::u16string_view path);
