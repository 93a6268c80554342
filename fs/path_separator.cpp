#include "fs/path_separator.h"

bool PathEndsInSeparator(std::u16string_view path) { return !path.empty() && IsFolderSeparator(path.back()); }

size_t PathNameStart(std::u16string_view path) {
  size_t start = path.size();
  while (start > 0 && !IsFolderSeparator(path[start - 1])) --start;
  return start;
}

std::u16string PathAsFolder(std::u16string path) {
  if (path.empty() || PathEndsInSeparator(path)) return path;
  const size_t name_start = PathNameStart(path);
  path += name_start > 0 ? path[name_start - 1] : kFolderSeparator;
  return path;
}
