#pragma once
// Whether a file system's status of a file changes whenever its content does: file
// numbers that stay with the file and a change time nobody can set back. Where they do,
// a file whose number, size and times are as they were holds the bytes it held.
#include <cstdint>
#include <string>

struct StampTrust {
  bool trusted = false;
  // How coarse the file system's times are, for telling a time that may still be "now".
  int64_t granularity_ns = 0;
};

// Of the file system holding the folder. Not trusted: FAT and exFAT, network file
// systems (their status may come from a cache) and user-space ones (their numbers may be
// made up), and any the system cannot say.
StampTrust FolderStampTrust(const std::u16string& folder);
