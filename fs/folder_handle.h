#pragma once
// A folder held open so that names in it are opened relative to the folder itself, not
// to whatever its path leads to later. The walk and the measuring of the images in the
// folder share one.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "fs/folder_identity.h"

class FolderHandle {
 public:
  // The folder at path (links followed; path ends in a separator), or null with the
  // system's reason in `error`.
  static std::shared_ptr<const FolderHandle> Open(const std::u16string& path, int& error);

  FolderHandle(std::u16string path, int64_t handle, std::optional<FolderIdentity> identity)
      : path_(std::move(path)), handle_(handle), identity_(identity) {}
  ~FolderHandle();
  FolderHandle(const FolderHandle&) = delete;
  FolderHandle& operator=(const FolderHandle&) = delete;

  // The path it was opened by, ending in a separator.
  const std::u16string& Path() const { return path_; }
  // The system's handle as a number, non-zero where names are opened relative to it (on
  // Windows they are opened by path, and it is 0).
  int64_t Handle() const { return handle_; }
  // The folder held, where the system tells it.
  const std::optional<FolderIdentity>& Identity() const { return identity_; }

 private:
  std::u16string path_;
  int64_t handle_ = 0;
  std::optional<FolderIdentity> identity_;
};
