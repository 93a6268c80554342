#pragma once
// What all folder trees share: the system's image list of small icons, labels and
// icons, the documents folder and the file icon cache. Made by the first tree that
// can get the image list, kept until the process ends.
#include <windows.h>

#include <commctrl.h>

#include <mutex>
#include <string>
#include <unordered_map>

// File icons, asked of the shell once per file extension.
class IconCache {
 public:
  // Held by a fill for its whole file pass.
  std::mutex& Lock() { return lock_; }
  // The icon index of the file: the one cached for its extension (the text after the
  // last "." of the path, upper-cased) when that is at most four characters and not one
  // of the kinds whose files each have an icon of their own; otherwise the file's own.
  // The caller holds Lock().
  int For(const std::u16string& path);

 private:
  std::mutex lock_;
  std::unordered_map<std::u16string, int> by_extension_;
};

struct FolderTreeShared {
  HIMAGELIST images = nullptr;  // the shell's, never destroyed by a tree
  int folder_icon = 0;
  std::u16string computer_label = u"My Computer";
  int computer_icon = 0;
  std::u16string documents_label = u"My Documents";
  std::u16string documents_path;  // ends in "\"
  int documents_icon = 0;
  bool documents_shown = false;  // the folder, its icon and its name were all found
  IconCache file_icons;
};

// The shared data; null while the shell gives no image list (the next call tries again).
FolderTreeShared* FolderTreeSharedTake();
// The shared data once made; null before.
FolderTreeShared* FolderTreeSharedGet();

// What the shell says of a path: its small icon's index in the system list (-1 when
// it gives none) and its display name (empty when it gives none).
int ShellIcon(const std::u16string& path);
std::u16string ShellDisplayName(const std::u16string& path);
// A drive's root path, "C:\" for drive 2.
std::u16string DriveRoot(int64_t drive);
// What the shell calls the drive; its root path when the shell says nothing.
std::u16string DriveLabel(int64_t drive);
