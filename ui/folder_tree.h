#pragma once
// The folder tree control: the computer's drives, the documents folder, and below
// them folders and files, read when a node is first opened. Its text is the full
// path of the selected node; it reports clicks, double-clicks, drags and selection
// changes as ControlEvents.
#include <cstdint>
#include <string>

// Creation flags.
inline constexpr uint32_t kFolderTreeNoDocuments = 0x1;
inline constexpr uint32_t kFolderTreeFoldersOnly = 0x2;  // no file nodes, no patterns
inline constexpr uint32_t kFolderTreeNoNotice = 0x4;     // no drive-not-ready notice
inline constexpr uint32_t kFolderTreeSorted = 0x8;       // folders, then files, by name
inline constexpr uint32_t kFolderTreeNoEdge = 0x10;
inline constexpr uint32_t kFolderTreeShowSelectionAlways = 0x20;
inline constexpr uint32_t kFolderTreeNoLines = 0x4000;
inline constexpr uint32_t kFolderTreeNoButtons = 0x8000;

// Creates the tree in the current container window at x, y with the size given (1/96
// inch), with the computer node open, and goes to the initial path (see
// FolderTreeNavigate). A number in use is destroyed first. Returns a non-zero handle
// for a number, the id for kAutoNumber, 0 when there is no container window.
int64_t FolderTreeCreate(int64_t number, int64_t x, int64_t y, int64_t width, int64_t height,
                         const std::u16string& initial_path, uint32_t flags);

// The tree's text slot, with the system's folder separator ("/" on Linux, "\" on
// Windows, where a lone "\" also rebuilds):
// - empty: rebuilds the tree;
// - a text without a separator: a new pattern list ("*.png;*.jpg"); rebuilds and goes
//   back to the node that was selected;
// - a path ending in the separator: selects that folder, opening the nodes on the way;
// - any other path: the part after the last separator is the new pattern list; rebuilds
//   and selects the folder before it.
// A folder name matches exactly, else without regard to case. A path that leads
// nowhere leaves the selection as it was.
void FolderTreeNavigate(int64_t number, const std::u16string& path);

// Reads the drives and the open folders again, and the selected node's folder: nodes of
// what is gone are taken away (a selection among them moves to the nearest parent still
// there, reported as a change of the selection), new entries get nodes, and the rest
// keep their state. Where the system reports changes on disk (Linux), open folders are
// also followed as long as they stay open.
void FolderTreeRefresh(int64_t number);
