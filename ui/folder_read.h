#pragma once
// What a folder tree shows of a folder: its subfolders and the files that match the
// tree's patterns. Shared by the platforms' folder trees; reads through fs listings.
#include <cstdint>
#include <string>
#include <vector>

struct FolderContents {
  std::vector<std::u16string> folders, files;
  bool readable = false;  // false when the folder could not be listed
};

// How a tree reads folders: `patterns` split from a list such as "*.png;*.jpg" (empty:
// every file), `separator` the system's folder separator.
struct FolderReadRules {
  bool folders_only = false;  // no files at all
  bool sorted = false;        // each kind in natural order, else the system's order
  std::vector<std::u16string> patterns;
  char16_t separator = u'/';
};

// The rules of a tree with these creation flags and pattern list ("*.png;*.jpg").
FolderReadRules FolderReadRulesFor(uint32_t flags, const std::u16string& patterns, char16_t separator);

// The patterns of a list: split at every ";".
std::vector<std::u16string> FolderPatterns(const std::u16string& list);
// Whether the name matches one of the patterns (every name when there are none).
bool FolderPatternsMatch(const std::vector<std::u16string>& patterns, const std::u16string& name);

// Reads the folder (`path` ends in the separator) once. "." and ".." never appear; a
// name whose path the system would refuse is left out rather than shown under a path
// that cannot be opened.
FolderContents FolderRead(const FolderReadRules& rules, const std::u16string& path);
// Whether the folder (`folder` ends in the separator) would show anything when opened:
// a subfolder, or a file the tree shows. Decides the expand button without filling.
bool FolderShowsChildren(const FolderReadRules& rules, const std::u16string& folder);
