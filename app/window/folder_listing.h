#pragma once
// The window's file browser: the selected folder's files in FileList, and the message
// for a double-click on one of them.
#include <optional>
#include <string>

#include "fs/file_stamp.h"

// Fills FileList with every file directly in the folder (name, size in bytes, and for
// an image its dimensions, "640 x 480", as they are measured off the interface thread:
// each measurement queues kDimensionsCommand for MainWindow); folders are left out.
// An empty path or a folder that cannot be read leaves the list empty. From then on a
// change in the folder queues kFilesChangedCommand for MainWindow. The folder listed
// already is read in place, as UpdateFolderFiles does.
void ListFolderFiles(const std::u16string& folder_path);
// Reads the listed folder again, changing only the rows that differ: the files created,
// renamed or deleted since, and the sizes that changed. The list keeps its order, its
// selection and its scroll position. Dimensions are measured again only for the files
// that changed.
void UpdateFolderFiles();
// The folder FileList shows (ending in the separator), empty when it shows none.
const std::u16string& ListedFolder();
// The stamp of a file FileList shows, as the folder was last read; nothing for a name it
// does not show.
std::optional<FileStamp> ListedFileStamp(const std::u16string& name);
// Shows the dimensions measured since the last call (on kDimensionsCommand).
void ShowMeasuredDimensions();
// Stops the measuring and forgets the folder: before the window layer ends.
void FolderFilesEnd();

// "You double-clicked: " and the selected row's name (the column's title when no row is
// selected), under the caption "File Selected".
void ShowFileMessage();
