#include "fs/file_replacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "fs/exit_signals.h"
#include "fs/fault_seam.h"
#include "fs/posix/exit_signal_target.h"
#include "fs/posix/permission_copy.h"
#include "fs/posix/system_path.h"
#include "fs/system_errors.h"

struct FileReplacement::State {
  int folder = -1;  // O_PATH: enough to create, examine, rename and remove names in it
  int file = -1;    // the temporary file
  std::string name;
  std::string temporary;
  std::u16string temporary_path;
  std::u16string path;    // of the file replaced
  mode_t fresh_mode = 0;  // what the umask gives a new file
  int error = 0;
  bool committed = false;

  // Whether the temporary name still holds the file created, not a link or another file
  // someone put there since.
  bool TemporaryIsOurs() const {
    struct stat ours, named;
    return fstat(file, &ours) == 0 && fstatat(folder, temporary.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           ours.st_dev == named.st_dev && ours.st_ino == named.st_ino;
  }
};

FileReplacement::FileReplacement(const std::u16string& folder, const std::u16string& name)
    : state_(std::make_unique<State>()) {
  State& state = *state_;
  const auto folder_bytes = SystemPath(folder);
  const auto name_bytes = SystemPath(name);
  if (!folder_bytes || !name_bytes) {
    state.error = EINVAL;
    return;
  }
  state.name = *name_bytes;
  state.folder = open(folder_bytes->empty() ? "." : folder_bytes->c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (state.folder < 0) {
    state.error = errno;
    return;
  }
  // A name already taken (by a file left over, or put there on purpose) is never opened:
  // another is drawn.
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::u16string temporary = TemporaryName(name);
    state.temporary = *SystemPath(temporary);
    // Armed before the file exists, so that no moment is left where a signal leaves it.
    ExitSignalTarget target;
    target.folder = state.folder;
    // Longer names are refused by the system below, so the name fits when it matters.
    std::strncpy(target.name, state.temporary.c_str(), sizeof target.name - 1);
    ExitSignalsSetTarget(&target);
    do {
      state.file = openat(state.folder, state.temporary.c_str(),
                          O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666);
    } while (state.file < 0 && errno == EINTR);
    if (state.file >= 0) {
      state.temporary_path = folder + temporary;
      state.path = folder + name;
      // Nobody else reads the new lines while they are written; the file gets its final
      // mode when it is put in place.
      struct stat created;
      if (fstat(state.file, &created) == 0) state.fresh_mode = created.st_mode & 0777;
      fchmod(state.file, 0600);
      return;
    }
    if (errno != EEXIST) break;
  }
  state.error = errno;
  ExitSignalsSetTarget(nullptr);
}

FileReplacement::~FileReplacement() {
  State& state = *state_;
  if (state.file >= 0) {
    if (!state.committed && state.TemporaryIsOurs()) unlinkat(state.folder, state.temporary.c_str(), 0);
    ExitSignalsSetTarget(nullptr);
    close(state.file);
  }
  if (state.folder >= 0) close(state.folder);
}

int FileReplacement::Error() const { return state_->error; }

PlatformFile FileReplacement::WriteHandle() const {
  if (state_->file < 0) return {};
  const int copy = fcntl(state_->file, F_DUPFD_CLOEXEC, 0);
  if (copy >= 0) return PlatformFile::Adopt(int64_t{copy} + 1);
  PlatformSetLastError(errno);
  return {};
}

int FileReplacement::Commit() {
  State& state = *state_;
  if (state.file < 0) return state.error;
  if (const int refused = FaultAt(FaultPoint::ReplaceFile, state.temporary_path); refused != 0) return refused;
  const int kept = CopyPermissions(state.folder, state.name.c_str(), state.file, state.fresh_mode, state.path);
  if (kept != 0) return kept;
  // The last look and the rename are two calls: someone swapping the name in between
  // could only put in place a file of their own, in a folder they may write anyway.
  if (!state.TemporaryIsOurs()) return kReplacedError;
  if (renameat(state.folder, state.temporary.c_str(), state.folder, state.name.c_str()) != 0) return errno;
  state.committed = true;
  return 0;
}
