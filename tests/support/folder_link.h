#pragma once
// Symbolic links to folders, made for a test.
#include <filesystem>

// Makes `link` lead to the folder `target`; false where this system makes no links (an
// unprivileged Windows user without developer mode, or Wine, which says it made one and
// makes nothing).
bool MakeFolderLink(const std::filesystem::path& target, const std::filesystem::path& link);
