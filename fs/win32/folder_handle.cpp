#include "fs/folder_handle.h"

#include <windows.h>

#include "fs/platform_file.h"

// Windows opens names by path: the folder is not held, only its path and identity kept.
std::shared_ptr<const FolderHandle> FolderHandle::Open(const std::u16string& path, int& error) {
  PlatformSetLastError(0);
  const auto identity = FolderIdentityOf(path);
  if (!identity) {
    error = PlatformLastError() != 0 ? PlatformLastError() : static_cast<int>(ERROR_PATH_NOT_FOUND);
    return nullptr;
  }
  return std::make_shared<const FolderHandle>(path, 0, identity);
}

FolderHandle::~FolderHandle() = default;
