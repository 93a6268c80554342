#pragma once
// The user's cache folder: files a program keeps for itself, which may be lost at any
// time, private to the user.
#include <optional>
#include <string>
#include <string_view>

// Makes, where missing, the program's folder in the user's cache folder and gives its
// path with a final separator: $XDG_CACHE_HOME/<name>/ (where that is absolute), else
// ~/.cache/<name>/, made 0700 (and the folders above it that are missing); on Windows
// %LOCALAPPDATA%\<name>\. Nothing when it cannot be made, the system's reason in `error`.
std::optional<std::u16string> CacheFolderMake(std::u16string_view name, int& error);
// Creates the file, empty and readable by its owner alone, where nothing stands yet;
// the system's code when it cannot, else 0.
int CacheFileCreate(const std::u16string& path);
// Puts the file at `to`, replacing what stood there; the system's code, else 0.
int CacheFileMove(const std::u16string& from, const std::u16string& to);
// Removes the file; a file that is not there is no failure. The system's code, else 0.
int CacheFileRemove(const std::u16string& path);
// The path as the database library takes it (UTF-8 on Windows, the bytes on Linux);
// nothing for a path the system could not take.
std::optional<std::string> CacheFileLibraryPath(const std::u16string& path);
