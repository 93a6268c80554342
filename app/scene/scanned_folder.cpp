#include "app/scene/scanned_folder.h"

#include "fs/path_ops.h"

ScannedFolder ScannedFolderOf(const std::u16string& path) {
  const std::optional<FolderIdentity> identity = FolderIdentityOf(path);
  if (identity || PathIsFolder(path)) return {ScannedKind::Folder, identity};
  return {PathExists(path) ? ScannedKind::File : ScannedKind::Missing, std::nullopt};
}
