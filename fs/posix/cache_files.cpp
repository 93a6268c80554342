#include "fs/cache_files.h"

#include <fcntl.h>
#include <pwd.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "fs/posix/system_path.h"
#include "fs/text_encoding.h"

namespace {

// The home folder: $HOME, else the password database's.
std::string HomeFolder() {
  if (const char* home = getenv("HOME"); home != nullptr && home[0] == '/') return home;
  std::vector<char> buffer(16384);
  struct passwd entry {};
  struct passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr) {
    return found->pw_dir;
  }
  return {};
}

// Makes each missing folder of the path, private to the user; 0 or the system's code.
int MakeFolders(const std::string& path) {
  for (size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
    const std::string part = path.substr(0, end);
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return errno;
    if (end == std::string::npos) return 0;
  }
}

}  // namespace

std::optional<std::u16string> CacheFolderMake(std::u16string_view name, int& error) {
  std::string folder;
  // As the XDG base directories have it, a relative XDG_CACHE_HOME is ignored.
  if (const char* cache = getenv("XDG_CACHE_HOME"); cache != nullptr && cache[0] == '/') {
    folder = cache;
  } else {
    folder = HomeFolder();
    if (folder.empty()) {
      error = ENOENT;
      return std::nullopt;
    }
    folder += "/.cache";
  }
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  const auto own = SystemPath(name);
  if (!own) {
    error = EINVAL;
    return std::nullopt;
  }
  folder += '/' + *own;
  error = MakeFolders(folder);
  struct stat status {};
  if (error == 0 && stat(folder.c_str(), &status) != 0) error = errno;
  if (error == 0 && !S_ISDIR(status.st_mode)) error = ENOTDIR;
  if (error != 0) return std::nullopt;
  // A folder made before, by hand or under another umask, is made private too.
  if ((status.st_mode & 077) != 0 && status.st_uid == getuid()) chmod(folder.c_str(), 0700);
  return TextFromEscapedBytes(folder + '/');
}

int CacheFileCreate(const std::u16string& path) {
  const auto bytes = SystemPath(path);
  if (!bytes) return EINVAL;
  const int file = open(bytes->c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (file < 0) return errno;
  close(file);
  return 0;
}

int CacheFileMove(const std::u16string& from, const std::u16string& to) {
  const auto old_bytes = SystemPath(from);
  const auto new_bytes = SystemPath(to);
  if (!old_bytes || !new_bytes) return EINVAL;
  return rename(old_bytes->c_str(), new_bytes->c_str()) == 0 ? 0 : errno;
}

int CacheFileRemove(const std::u16string& path) {
  const auto bytes = SystemPath(path);
  if (!bytes) return EINVAL;
  return unlink(bytes->c_str()) == 0 || errno == ENOENT ? 0 : errno;
}

std::optional<std::string> CacheFileLibraryPath(const std::u16string& path) { return SystemPath(path); }
