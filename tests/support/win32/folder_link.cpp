#include "support/folder_link.h"

#include <windows.h>

bool MakeFolderLink(const std::filesystem::path& target, const std::filesystem::path& link) {
  // The standard library makes no links on Windows; the system does, with rights.
  const DWORD flags = SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE;
  return CreateSymbolicLinkW(link.c_str(), target.c_str(), flags) &&
         GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES;
}
