#include "ui/folder_drop.h"

#include <utility>

#include "fs/path_ops.h"
#include "fs/path_separator.h"
#include "ui/folder_drop_paths.h"

namespace {

std::u16string g_dropped;

}  // namespace

std::u16string FirstFolderOf(const std::vector<std::u16string>& paths) {
  for (const std::u16string& path : paths) {
    if (!path.empty() && PathIsFolder(path)) return PathAsFolder(path);
  }
  return {};
}

void FolderDropKeep(std::u16string folder) { g_dropped = std::move(folder); }

std::u16string FolderDropTake() { return std::exchange(g_dropped, {}); }
