#pragma once
// Replacing a file so that, at every moment, its name holds either the old file or the
// complete new one. The new one is written to a hidden temporary file in the same folder,
// which takes the old one's place only once complete. Every step goes through the folder
// opened once and the temporary file held open, never through a name that someone else
// who may write the folder could swap: a temporary file replaced by another file or a
// link is never changed, removed or put in place.
#include <memory>
#include <string>

#include "fs/platform_file.h"

class FileReplacement {
 public:
  // Opens `folder` (its path ends in a separator; empty: the current folder) and
  // creates in it the hidden file ".<name>.<16 hex digits>.tmp", a name no scan lists,
  // which on Linux only its owner may read until Commit. While the replacement lives,
  // an exit signal removes that file (see exit_signals.h).
  FileReplacement(const std::u16string& folder, const std::u16string& name);
  // Removes the temporary file, unless Commit put it in place or it is no longer the one
  // created.
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // 0 when the temporary file was created; else why not.
  int Error() const;
  // A second handle on the temporary file for writing it, which the caller closes
  // before Commit. Not open when the system refuses one (PlatformLastError says why).
  PlatformFile WriteHandle() const;
  // Gives the temporary file what decides who may use the old file, where the old one
  // is a plain file (on Linux its owner, group, permission bits and extended attributes,
  // the access list among them; on Windows its access list), and renames it to `name`.
  // 0 on success; kReplacedError when the temporary name no longer holds the file
  // created; one of the codes of system_errors.h for what could not be carried over;
  // else the system's code. The old file stays on every failure.
  int Commit();

 private:
  // A hidden name beside `name`; it ends in ".tmp", so a scan never lists it even when a
  // killed run leaves it behind.
  static std::u16string TemporaryName(const std::u16string& name);

  struct State;
  std::unique_ptr<State> state_;
};
