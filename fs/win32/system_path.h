#pragma once
// A path as the wide string the system takes.
#include <optional>
#include <string>
#include <string_view>

// None for a path holding a NUL, which the system would otherwise read as a shorter path.
std::optional<std::wstring> SystemPath(std::u16string_view path);
