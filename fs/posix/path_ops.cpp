#include "fs/path_ops.h"

#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "fs/posix/system_path.h"
#include "fs/text_encoding.h"

int PathRename(const std::u16string& from, const std::u16string& to) {
  const auto from_bytes = SystemPath(from);
  const auto to_bytes = SystemPath(to);
  if (!from_bytes || !to_bytes) return EINVAL;
  return ::rename(from_bytes->c_str(), to_bytes->c_str()) == 0 ? 0 : errno;
}

void PathCopyPermissions(const std::u16string& from, const std::u16string& to) {
  const auto from_bytes = SystemPath(from);
  const auto to_bytes = SystemPath(to);
  struct stat status;
  if (!from_bytes || !to_bytes || ::stat(from_bytes->c_str(), &status) != 0) return;
  // Owner first: a change of owner may clear the set-id bits that the mode then restores.
  if (::geteuid() == 0 && ::chown(to_bytes->c_str(), status.st_uid, status.st_gid) != 0) return;
  ::chmod(to_bytes->c_str(), status.st_mode & 07777);
}

bool PathExists(const std::u16string& path) {
  const auto bytes = SystemPath(path);
  struct stat status;
  return bytes && ::lstat(bytes->c_str(), &status) == 0;
}

void PathRemove(const std::u16string& path) {
  if (const auto bytes = SystemPath(path)) ::unlink(bytes->c_str());
}

std::u16string SystemErrorText(int code) {
  if (code == -1) return u"the system reported no reason";
  char buffer[256];
  // The GNU strerror_r returns the text, which may or may not be in the buffer.
  const char* text = strerror_r(code, buffer, sizeof buffer);
  return TextFromEscapedBytes(text);
}
