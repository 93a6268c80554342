#pragma once
// The folder tree's own state and its nodes, shared by the files of the control.
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>

#include "ui/control_register.h"
#include "ui/folder_tree_nodes.h"

struct FolderTreeState : ControlTypeState {
  HWND tree = nullptr;
  uint32_t flags = 0;
  std::u16string patterns = u"*.*";
  HTREEITEM root = nullptr;  // the computer node
  HWND notice = nullptr;     // the open drive-not-ready notice
  int64_t notice_drive = -1;
  // Nodes are being taken away: the selection changes this makes are not reported.
  bool quiet = false;
};

// The state of a folder tree's record; null for a record of another type.
FolderTreeState* FolderTreeStateOf(ControlRecord& record);
// The state of a tree view while it stands as a control; null once it is going.
FolderTreeState* FolderTreeStateOf(HWND tree);

// Takes the top-level window of `window` as the one that hears of drive changes for
// every folder tree, when no window does yet.
void FolderTreesWatchDrives(HWND window);
// The drive-not-ready notice: opened for a drive (the tree disabled meanwhile), closed
// by its button, by the drive's arrival or by a navigation.
void NoticeOpen(FolderTreeState& state, int64_t drive);
void NoticeClose(FolderTreeState& state);
