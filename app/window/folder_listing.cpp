#include "app/window/folder_listing.h"

#include <vector>

#include "app/window/app_numbers.h"
#include "fs/listings.h"
#include "fs/text.h"
#include "ui/column_list.h"
#include "ui/controls.h"
#include "ui/folder_follow.h"
#include "ui/message_box.h"

namespace {

// The folder FileList shows.
std::u16string g_listed;

// The rows of the folder's files: name, LF, size, LF. None for a folder that cannot be read.
std::vector<std::u16string> FileRows(const std::u16string& folder_path) {
  std::vector<std::u16string> rows;
  if (folder_path.empty()) return rows;
  if (ListingOpen(kFolderListing, folder_path, u"*.*") == 0) return rows;
  while (ListingNext(kFolderListing)) {
    const std::u16string name = ListingName(kFolderListing);
    if (ListingKind(kFolderListing) != EntryKind::File) continue;
    const int64_t size = ListingSize(kFolderListing);
    rows.push_back(name + u"\n" + DecimalText(size) + u"\n");
  }
  ListingClose(kFolderListing);
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
  for (const std::u16string& row : FileRows(folder_path)) ControlAddItem(kFileList, -1, row);
}

void UpdateFolderFiles() { ColumnListUpdate(kFileList, FileRows(g_listed)); }

void ShowFileMessage() {
  const int64_t row = ControlGetState(kFileList);
  const std::u16string name = ControlItemText(kFileList, row, 0);
  MessageBoxShow(u"File Selected", u"You double-clicked: " + name, 0);
}
