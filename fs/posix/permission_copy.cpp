#include "fs/posix/permission_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "fs/fault_seam.h"
#include "fs/posix/descriptor.h"
#include "fs/posix/reopen_for_reading.h"
#include "fs/system_errors.h"

namespace {

// The access list is kept as an extended attribute, which is how it is carried over.
constexpr const char* kAccessList = "system.posix_acl_access";

// Never set-id or sticky bits: a file written here is no program.
int SetMode(int file, mode_t mode, const std::u16string& path) {
  if (FaultAt(FaultPoint::ChangeMode, path) != 0 || fchmod(file, mode & 0777) != 0) return kModeNotKeptError;
  return 0;
}

// The names of the file's extended attributes, each ended by a NUL; empty where the file
// system keeps none. False when they cannot be read.
bool AttributeNames(int fd, std::vector<char>& names) {
  for (;;) {
    const ssize_t size = flistxattr(fd, nullptr, 0);
    if (size < 0) return errno == ENOTSUP;
    names.resize(static_cast<size_t>(size));
    if (size == 0) return true;
    const ssize_t got = flistxattr(fd, names.data(), names.size());
    if (got >= 0) {
      names.resize(static_cast<size_t>(got));
      return true;
    }
    if (errno != ERANGE) return false;  // ERANGE: it grew meanwhile
  }
}

bool AttributeValue(int fd, const char* name, std::vector<char>& value) {
  for (;;) {
    const ssize_t size = fgetxattr(fd, name, nullptr, 0);
    if (size < 0) return false;
    value.resize(static_cast<size_t>(size));
    const ssize_t got = fgetxattr(fd, name, value.data(), value.size());
    if (got >= 0) {
      value.resize(static_cast<size_t>(got));
      return true;
    }
    if (errno != ERANGE) return false;
  }
}

// Sets one attribute on the new file; one the system will not set counts as kept where
// the new file has it with that value already (a security label given by the system).
bool CopyAttribute(int from, int to, const char* name) {
  std::vector<char> value, present;
  if (!AttributeValue(from, name, value)) return errno == ENODATA;  // removed meanwhile
  if (fsetxattr(to, name, value.data(), value.size(), 0) == 0) return true;
  return AttributeValue(to, name, present) && present == value;
}

// Every extended attribute of the old file, the access list among them, read through
// the old file opened for reading: only the plain file looked at, never a FIFO swapped in.
int CopyAttributes(int look, int folder, const char* name, const struct stat& old, int file) {
  const Descriptor from(ReopenForReading(look, folder, name, old, O_NOFOLLOW));
  std::vector<char> names;
  if (from.fd < 0 || !AttributeNames(from.fd, names)) return kAttributesNotKeptError;
  bool has_access_list = false;
  for (size_t at = 0; at < names.size(); at += std::strlen(&names[at]) + 1) {
    if (std::strcmp(&names[at], kAccessList) == 0) has_access_list = true;
  }
  // A new file may have inherited an access list from the folder that the old one lacks.
  if (!has_access_list && fremovexattr(file, kAccessList) != 0 && errno != ENODATA && errno != ENOTSUP)
    return kAttributesNotKeptError;
  for (size_t at = 0; at < names.size(); at += std::strlen(&names[at]) + 1) {
    if (!CopyAttribute(from.fd, file, &names[at])) return kAttributesNotKeptError;
  }
  return 0;
}

}  // namespace

int CopyPermissions(int folder, const char* name, int file, mode_t fresh_mode, const std::u16string& path) {
  const Descriptor look(OpenAt(folder, name, O_PATH | O_NOFOLLOW | O_CLOEXEC));
  if (look.fd < 0) return errno == ENOENT ? SetMode(file, fresh_mode, path) : errno;
  struct stat old, fresh;
  if (fstat(look.fd, &old) != 0 || fstat(file, &fresh) != 0) return errno;
  // A link or anything else in its place gives nothing: the new file gets the mode the
  // umask gives and the running user, never those of whatever the link leads to.
  if (!S_ISREG(old.st_mode)) return SetMode(file, fresh_mode, path);
  if (old.st_uid != fresh.st_uid || old.st_gid != fresh.st_gid) {
    if (FaultAt(FaultPoint::ChangeOwner, path) != 0 || fchown(file, old.st_uid, old.st_gid) != 0)
      return kOwnerNotKeptError;
  }
  // The mode before the access list: setting the list sets the group bits to its mask.
  if (const int error = SetMode(file, old.st_mode, path); error != 0) return error;
  return CopyAttributes(look.fd, folder, name, old, file);
}
