#pragma once
// The window's file browser: the selected folder's files in FileList, and the message
// for a double-click on one of them.
#include <string>

// Fills FileList with every file directly in the folder (name, size in bytes); folders
// are left out. An empty path or a folder that cannot be read leaves the list empty.
void ListFolderFiles(const std::u16string& folder_path);

// "You double-clicked: " and the selected row's name (the column's title when no row is
// selected), under the caption "File Selected".
void ShowFileMessage();
