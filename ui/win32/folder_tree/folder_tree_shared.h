#pragma once
// What all folder trees share: the system's image list of small icons, labels and
// icons, the documents folder and the file icon cache. Made by the first tree that
// can get the image list, kept until the process ends.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "ui/file_icon_cache.h"
#include "ui/folder_tree_nodes.h"

// What the shell says of a path: its small icon's index in the system list (-1 when
// it gives none) and its display name (empty when it gives none).
int ShellIcon(const std::u16string& path);
std::u16string ShellDisplayName(const std::u16string& path);

// The documents folder is shown where the folder, its icon and its name were all found.
struct FolderTreeShared : FolderTreePlaces {
  HIMAGELIST images = nullptr;  // the shell's, never destroyed by a tree
  int folder_icon = 0;
  int computer_icon = 0;
  int documents_icon = 0;
  FileIconCache<int> file_icons{ShellIcon, [](const int& icon) { return icon >= 0; }};
};

// The shared data; null while the shell gives no image list (the next call tries again).
FolderTreeShared* FolderTreeSharedTake();
// The shared data once made; null before.
FolderTreeShared* FolderTreeSharedGet();

// A drive's root path, "C:\" for drive 2.
std::u16string DriveRoot(int64_t drive);
// What the shell calls the drive; its root path when the shell says nothing.
std::u16string DriveLabel(int64_t drive);
