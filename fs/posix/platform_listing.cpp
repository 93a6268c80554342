#include "fs/platform_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include "fs/posix/system_path.h"
#include "fs/text_encoding.h"

namespace {

DIR* Directory(void* handle) { return static_cast<DIR*>(handle); }

}  // namespace

PlatformListing PlatformListing::Open(std::u16string_view folder) {
  const auto bytes = SystemPath(folder);
  PlatformListing listing;
  if (bytes) listing.handle_ = opendir(bytes->c_str());
  return listing;
}

bool PlatformListing::Next(PlatformEntry& entry) {
  if (!IsOpen()) return false;
  const dirent* found = readdir(Directory(handle_));
  if (found == nullptr) return false;
  entry.name = TextFromEscapedBytes(found->d_name);
  entry.is_folder = found->d_type == DT_DIR;
  entry.size = 0;
  return true;
}

void PlatformListing::Describe(PlatformEntry& entry) const {
  const auto bytes = SystemPath(entry.name);
  struct stat status;
  // When the status cannot be had (a broken or looping link) the listing's word stands.
  if (!IsOpen() || !bytes || fstatat(dirfd(Directory(handle_)), bytes->c_str(), &status, 0) != 0) return;
  entry.is_folder = S_ISDIR(status.st_mode);
  entry.size = status.st_size;
}

void PlatformListing::Close() {
  if (IsOpen()) closedir(Directory(std::exchange(handle_, nullptr)));
}
