#include "fs/path_ops.h"

#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

#include "fs/posix/system_path.h"
#include "fs/system_errors.h"
#include "fs/text_encoding.h"

bool PathExists(const std::u16string& path) {
  const auto bytes = SystemPath(path);
  struct stat status;
  return bytes && ::lstat(bytes->c_str(), &status) == 0;
}

bool PathIsFolder(const std::u16string& path) {
  const auto bytes = SystemPath(path);
  struct stat status;
  return bytes && ::stat(bytes->c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

std::u16string PathFromRoot(const std::u16string& path) {
  const auto bytes = SystemPath(path);
  if (!bytes) return path;
  // Links are resolved too: the tree holds no node for a link's own name.
  const std::unique_ptr<char, decltype(&std::free)> resolved(realpath(bytes->c_str(), nullptr), &std::free);
  return resolved ? TextFromEscapedBytes(resolved.get()) : path;
}

std::u16string SystemErrorText(int code) {
  if (code == -1) return u"the system reported no reason";
  if (code == kReplacedError) return u"its temporary file was replaced during the scan";
  if (code == kLinkNotFollowedError) return u"it is another user's link to what that user does not own";
  if (code == kChangedError) return u"it was replaced by another during the scan";
  if (code == kOwnerNotKeptError) return u"the new file could not be given its owner and group";
  if (code == kModeNotKeptError) return u"the new file could not be given its permissions";
  if (code == kAttributesNotKeptError)
    return u"the new file could not be given its access list and extended attributes";
  char buffer[256];
  // The GNU strerror_r returns the text, which may or may not be in the buffer.
  const char* text = strerror_r(code, buffer, sizeof buffer);
  return TextFromEscapedBytes(text);
}
