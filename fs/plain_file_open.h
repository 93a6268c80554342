#pragma once
// Opening a file in a held folder for reading, only when it is a plain file: a FIFO, a
// socket, a device or a folder is never read. A name the listing did not see as a plain
// file is looked at first and opened only when it is one, even when the name is swapped
// between the look and the open; one it saw as a plain file is opened at once, in a way
// that whatever may have taken its place since cannot make the open wait or follow a link.
#include <string_view>

#include "fs/file_stamp.h"
#include "fs/folder_handle.h"
#include "fs/platform_file.h"

enum class OpenedKind {
  Plain,     // a regular file, open for reading
  NotPlain,  // something else, not opened for reading
  Refused,   // the system refused the look or the open
};

struct OpenedFile {
  OpenedKind kind = OpenedKind::Refused;
  PlatformFile file;  // open for a plain file; its OpenedSize is the stamp's size
  FileStamp stamp;    // what the look saw (not for a refusal)
  int error = 0;      // the system's code for a refusal, never 0 then
};

// Opens `name` in `folder`, links followed. `listed_plain`: the folder's listing saw a
// regular file, not a link, by that name (ListingIsPlainFile). Readers take no lock, so
// another program's lock does not keep a file from being read.
OpenedFile OpenPlainFileAt(const FolderHandle& folder, std::u16string_view name, bool listed_plain);
