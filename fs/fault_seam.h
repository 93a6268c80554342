#pragma once
// For tests: a seam where a test makes the system refuse a call of the file layer, the
// failures that a test cannot bring about on a sound machine (an I/O error, a rename
// refused at the last moment), or acts at that moment as someone else might. Without a
// hook every call goes to the system.
#include <string>

enum class FaultPoint {
  OpenFolder,    // FolderIdentityOf and FolderHandle::Open, with the path as given
  OpenFile,      // PlatformFile::Open and OpenPlainFileAt, with the file's path
  FileLooked,    // OpenPlainFileAt, having seen a plain file, before it opens or reads it
  ListFolder,    // PlatformListing::Next, with the folder's path as given to Open
  ReplaceFile,   // FileReplacement::Commit, just before it, with the temporary file's path
  ChangeOwner,   // FileReplacement::Commit, giving the new file the old one's owner, with the file's path
  ChangeMode,    // the same, giving it the old one's mode (on Windows: its access list)
  OpenDatabase,  // SqlDatabase::Open, with its path: a code opens it read-only
};

// The code the call is to fail with, 0 to let it go to the system. A hook may also throw
// what the call could (std::bad_alloc).
using FaultHook = int (*)(FaultPoint point, const std::u16string& path);
// Null removes the hook.
void FaultHookSet(FaultHook hook);
// What the hook says of this call; 0 without a hook.
int FaultAt(FaultPoint point, const std::u16string& path);
