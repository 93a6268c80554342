#pragma once
// What a path given to be scanned leads to, looked at once before its scene is written:
// the batch program refuses what is no folder and writes a folder named twice once; the
// scene's writer scans only a folder.
#include <optional>
#include <string>

#include "fs/folder_identity.h"

enum class ScannedKind { Folder, File, Missing };

struct ScannedFolder {
  ScannedKind kind = ScannedKind::Missing;
  // None for a folder that cannot be looked at (on Windows, one that denies access): it
  // is a folder all the same, whose scan says why it cannot be read.
  std::optional<FolderIdentity> identity;
};

ScannedFolder ScannedFolderOf(const std::u16string& path);
