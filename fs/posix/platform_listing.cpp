#include "fs/platform_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "fs/fault_seam.h"
#include "fs/posix/stat_stamp.h"
#include "fs/posix/system_path.h"
#include "fs/text_encoding.h"

namespace {

DIR* Directory(void* handle) { return static_cast<DIR*>(handle); }

// readdir, or the failure a test injected in its place, reported the way readdir does.
const dirent* ReadEntry(DIR* directory, int fault) {
  if (fault == 0) return readdir(directory);
  errno = fault;
  return nullptr;
}

thread_local int g_last_error = 0;

// Kind, size, identity and stamp from the status of what the entry is or leads to.
void Complete(PlatformEntry& entry, const struct stat& status) {
  entry.is_folder = S_ISDIR(status.st_mode);
  entry.size = status.st_size;
  entry.identity.reset();
  if (entry.is_folder) {
    entry.identity = FolderIdentity{static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino)};
  }
  entry.stamp.reset();
  if (S_ISREG(status.st_mode)) entry.stamp = StampOfStatus(status);
  entry.kind_known = true;
  entry.complete = true;
}

}  // namespace

int PlatformListingLastError() { return g_last_error; }

PlatformListing PlatformListing::Open(std::u16string_view folder) {
  const auto bytes = SystemPath(folder);
  PlatformListing listing;
  if (!bytes) {
    g_last_error = EINVAL;
    return listing;
  }
  listing.handle_ = opendir(bytes->c_str());
  if (!listing.IsOpen()) g_last_error = errno;
  listing.fault_ = FaultAt(FaultPoint::ListFolder, std::u16string(folder));
  return listing;
}

bool PlatformListing::Next(PlatformEntry& entry) {
  if (!IsOpen() || error_ != 0) return false;
  // Only errno tells the end of the folder from a failure to read it.
  errno = 0;
  const dirent* found = ReadEntry(Directory(handle_), fault_);
  if (found == nullptr) {
    error_ = errno;
    return false;
  }
  entry = PlatformEntry{};
  entry.name = TextFromEscapedBytes(found->d_name);
  entry.node = static_cast<uint64_t>(found->d_ino);
  entry.is_folder = found->d_type == DT_DIR;
  entry.is_link = found->d_type == DT_LNK;
  entry.is_plain = found->d_type == DT_REG;
  entry.kind_known = found->d_type != DT_UNKNOWN && found->d_type != DT_LNK;
  // Some file systems leave the kind to be asked for; a link's owner is always asked for.
  struct stat own;
  if ((found->d_type == DT_UNKNOWN || found->d_type == DT_LNK) &&
      fstatat(dirfd(Directory(handle_)), found->d_name, &own, AT_SYMLINK_NOFOLLOW) == 0) {
    entry.is_link = S_ISLNK(own.st_mode);
    if (entry.is_link) {
      entry.link_owner = static_cast<uint32_t>(own.st_uid);
    } else {
      // Not a link: its own status is the whole description.
      entry.is_plain = S_ISREG(own.st_mode);
      Complete(entry, own);
    }
  }
  return true;
}

void PlatformListing::Describe(PlatformEntry& entry) const {
  if (entry.complete) return;
  const auto bytes = SystemPath(entry.name);
  struct stat status;
  // When the status cannot be had (a broken or looping link) the listing's word stands.
  if (!IsOpen() || !bytes || fstatat(dirfd(Directory(handle_)), bytes->c_str(), &status, 0) != 0) return;
  Complete(entry, status);
}

void PlatformListing::Close() {
  if (IsOpen()) closedir(Directory(std::exchange(handle_, nullptr)));
}
