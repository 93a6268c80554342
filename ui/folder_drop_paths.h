#pragma once
// What folder drops on either window system share.
#include <string>
#include <vector>

// The first of the dropped paths that is a folder, ending in its separator; empty when
// none is.
std::u16string FirstFolderOf(const std::vector<std::u16string>& paths);
// Keeps the folder of a drop for FolderDropTake.
void FolderDropKeep(std::u16string folder);
