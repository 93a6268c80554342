#include "app/window/folder_listing.h"

#include "app/window/app_numbers.h"
#include "fs/listings.h"
#include "fs/text.h"
#include "ui/controls.h"
#include "ui/message_box.h"

void ListFolderFiles(const std::u16string& folder_path) {
  ControlClearItems(kFileList);
  if (TextEquals(folder_path, u"")) return;
  if (ListingOpen(kFolderListing, folder_path, u"*.*") == 0) return;
  while (ListingNext(kFolderListing)) {
    const std::u16string name = ListingName(kFolderListing);
    if (ListingKind(kFolderListing) != EntryKind::File) continue;
    const int64_t size = ListingSize(kFolderListing);
    ControlAddItem(kFileList, -1, name + u"\n" + DecimalText(size) + u"\n");
  }
  ListingClose(kFolderListing);
}

void ShowFileMessage() {
  const int64_t row = ControlGetState(kFileList);
  const std::u16string name = ControlItemText(kFileList, row, 0);
  MessageBoxShow(u"File Selected", u"You double-clicked: " + name, 0);
}
