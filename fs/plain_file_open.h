#pragma once
// Opening a file in a held folder for reading, only when it is a plain file: a FIFO, a
// socket, a device or a folder is looked at but never opened for reading, even when the
// name is swapped for one between the look and the open.
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

// Opens `name` in `folder`, links followed. Readers take no lock, so another program's
// lock does not keep a file from being read.
OpenedFile OpenPlainFileAt(const FolderHandle& folder, std::u16string_view name);
