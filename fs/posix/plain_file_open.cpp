#include "fs/plain_file_open.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <optional>
#include <string>

#include "fs/fault_seam.h"
#include "fs/link_rule.h"
#include "fs/posix/descriptor.h"
#include "fs/posix/reopen_for_reading.h"
#include "fs/posix/stat_stamp.h"
#include "fs/posix/system_path.h"
#include "fs/system_errors.h"

namespace {

// Follows the link `look` holds (its own status in `status`): the very link looked at,
// whatever its name holds by now. Leaves what it leads to in `look` and `status`; 0, or
// why it is not followed.
int FollowLink(Descriptor& look, int folder, struct stat& status) {
  const uint32_t link_owner = static_cast<uint32_t>(status.st_uid);
  std::array<char, PATH_MAX> target;
  const ssize_t length = readlinkat(look.fd, "", target.data(), target.size() - 1);
  if (length < 0) return errno;
  target[static_cast<size_t>(length)] = '\0';
  // A relative target starts from the folder that holds the link.
  Descriptor followed(OpenAt(folder, target.data(), O_PATH | O_CLOEXEC));
  if (followed.fd < 0) return errno;
  if (fstat(followed.fd, &status) != 0) return errno;
  if (!LinkMayBeFollowed(link_owner, static_cast<uint32_t>(status.st_uid))) return kLinkNotFollowedError;
  std::swap(look.fd, followed.fd);
  return 0;
}

OpenedFile Refused(int code) {
  OpenedFile opened;
  opened.error = code != 0 ? code : -1;
  return opened;
}

// What the look at `status` decides: anything but a plain file is not to be read; a plain
// file is, its descriptor still to be given (a test's fault may refuse it first).
OpenedFile Looked(const struct stat& status, const std::u16string& path) {
  OpenedFile opened;
  opened.stamp = StampOfStatus(status);
  opened.kind = S_ISREG(status.st_mode) ? OpenedKind::Plain : OpenedKind::NotPlain;
  if (opened.kind == OpenedKind::NotPlain) return opened;
  if (const int fault = FaultAt(FaultPoint::FileLooked, path); fault != 0) return Refused(fault);
  return opened;
}

// The listing saw a regular file by this name, so it is opened for reading at once: open,
// fstat and close, where looking first takes five calls. Whatever may have taken the
// name's place since is opened harmlessly: a link is not followed (O_NOFOLLOW; it is then
// looked at and followed by the link rule, as any link), a FIFO cannot make the open wait
// (O_NONBLOCK), a terminal cannot become the controlling one (O_NOCTTY), and anything but
// a regular file is closed unread. Opening a FIFO may release a writer waiting for a
// reader, but only one that whoever swapped the FIFO in could have opened as well. A
// device node needs privilege to be made, and a hard link to one (never across file
// systems, so never to /dev) is allowed, where hard links are protected as Debian's are
// by default, only to whoever owns it or may read and write it: no one without privilege
// can make the scan open a device that one could not open oneself.
std::optional<OpenedFile> OpenListedPlainFile(int folder, const char* name, const std::u16string& path) {
  Descriptor file(OpenAt(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (file.fd < 0) {
    if (errno == ELOOP) return std::nullopt;  // a link took its place
    return Refused(errno);
  }
  struct stat status;
  if (fstat(file.fd, &status) != 0) return Refused(errno);
  OpenedFile opened = Looked(status, path);
  if (opened.kind == OpenedKind::Plain) opened.file = PlatformFile::Adopt(int64_t{file.Release()} + 1, status.st_size);
  return opened;
}

}  // namespace

OpenedFile OpenPlainFileAt(const FolderHandle& folder, std::u16string_view name, bool listed_plain) {
  const auto bytes = SystemPath(name);
  if (!bytes || folder.Handle() == 0) return Refused(EINVAL);
  const std::u16string path = folder.Path() + std::u16string(name);
  if (const int fault = FaultAt(FaultPoint::OpenFile, path); fault != 0) return Refused(fault);
  const int folder_fd = static_cast<int>(folder.Handle() - 1);
  if (listed_plain) {
    if (std::optional<OpenedFile> opened = OpenListedPlainFile(folder_fd, bytes->c_str(), path))
      return std::move(*opened);
  }

  // O_PATH opens nothing for reading: a FIFO's writer is not released, a device not touched.
  Descriptor look(OpenAt(folder_fd, bytes->c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
  if (look.fd < 0) return Refused(errno);
  struct stat status;
  if (fstat(look.fd, &status) != 0) return Refused(errno);
  if (S_ISLNK(status.st_mode)) {
    const int error = FollowLink(look, folder_fd, status);
    if (error != 0) return Refused(error);
  }
  OpenedFile opened = Looked(status, path);
  if (opened.kind != OpenedKind::Plain) return opened;
  const int fd = ReopenForReading(look.fd, folder_fd, bytes->c_str(), status, 0);
  if (fd < 0) return Refused(errno);
  opened.file = PlatformFile::Adopt(int64_t{fd} + 1, status.st_size);
  return opened;
}
