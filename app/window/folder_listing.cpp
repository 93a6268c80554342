#include "app/window/folder_listing.h"

#include <memory>
#include <vector>

#include "app/window/app_numbers.h"
#include "app/window/file_dimensions.h"
#include "fs/listings.h"
#include "fs/text.h"
#include "ui/column_list.h"
#include "ui/controls.h"
#include "ui/folder_follow.h"
#include "ui/message_box.h"

namespace {

// The folder FileList shows.
std::u16string g_listed;
// Its files as last read, for the rows that change as their dimensions arrive.
std::vector<ListedFile> g_files;
std::unique_ptr<FileDimensions> g_dimensions;

// The files of the folder: none for a folder that cannot be read.
std::vector<ListedFile> ReadFiles(const std::u16string& folder_path) {
  std::vector<ListedFile> files;
  if (folder_path.empty()) return files;
  if (ListingOpen(kFolderListing, folder_path, u"*.*") == 0) return files;
  while (ListingNext(kFolderListing)) {
    if (ListingKind(kFolderListing) != EntryKind::File) continue;
    // A link tells no stamp of what it leads to: its size stands for it.
    const std::optional<FileStamp> stamp = ListingFileStamp(kFolderListing);
    files.push_back({ListingName(kFolderListing), stamp ? *stamp : FileStamp{.size = ListingSize(kFolderListing)}});
  }
  ListingClose(kFolderListing);
  return files;
}

// The rows of the files: name, LF, size, LF, dimensions.
std::vector<std::u16string> FileRows() {
  if (!g_dimensions) g_dimensions = std::make_unique<FileDimensions>(kMainWindow, kDimensionsCommand);
  const std::vector<std::u16string> dimensions = g_dimensions->Cells(g_listed, g_files);
  std::vector<std::u16string> rows;
  rows.reserve(g_files.size());
  for (size_t i = 0; i < g_files.size(); ++i)
    rows.push_back(g_files[i].name + u"\n" + DecimalText(g_files[i].stamp.size) + u"\n" + dimensions[i]);
  return rows;
}

}  // namespace

void ListFolderFiles(const std::u16string& folder_path) {
  // The folder listed already (the tree reports its node again as it reads the folder
  // above it anew): read in place, so that the user's selection and scroll stay.
  if (folder_path == g_listed && !folder_path.empty()) {
    UpdateFolderFiles();
    return;
  }
  ControlClearItems(kFileList);
  g_listed = folder_path;
  FolderFollow(kMainWindow, folder_path, kFilesChangedCommand);
  g_files = ReadFiles(folder_path);
  for (const std::u16string& row : FileRows()) ControlAddItem(kFileList, -1, row);
}

const std::u16string& ListedFolder() { return g_listed; }

std::optional<FileStamp> ListedFileStamp(const std::u16string& name) {
  for (const ListedFile& file : g_files)
    if (file.name == name) return file.stamp;
  return std::nullopt;
}

void UpdateFolderFiles() {
  g_files = ReadFiles(g_listed);
  ColumnListUpdate(kFileList, FileRows());
}

void ShowMeasuredDimensions() {
  if (g_dimensions && g_dimensions->Deliver()) ColumnListUpdate(kFileList, FileRows());
}

void FolderFilesEnd() {
  g_dimensions.reset();
  g_files.clear();
  g_listed.clear();
}

void ShowFileMessage() {
  const int64_t row = ControlGetState(kFileList);
  const std::u16string name = ControlItemText(kFileList, row, 0);
  MessageBoxShow(u"File Selected", u"You double-clicked: " + name, 0);
}
