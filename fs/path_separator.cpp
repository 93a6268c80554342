#include "fs/path_separator.h"

bool PathEndsInSeparator(std::u16string_view path) { return !path.empty() && IsFolderSeparator(path.back()); }

size_t PathNameStart(std::u16string_view path) {
  size_t start = path.size();
  while (start > 0 && !IsFolderSeparator(path[start - 1])) --start;
  return start;
}
