#include "fs/folder_identity.h"

#include <sys/stat.h>

#include "fs/fault_seam.h"
#include "fs/posix/system_path.h"

std::optional<FolderIdentity> FolderIdentityOf(const std::u16string& path) {
  const auto bytes = SystemPath(path);
  if (!bytes || bytes->empty() || FaultAt(FaultPoint::OpenFolder, path) != 0) return std::nullopt;
  struct stat st {};
  if (stat(bytes->c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
  return FolderIdentity{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}
