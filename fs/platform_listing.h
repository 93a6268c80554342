#pragma once
// The system's folder reading behind one small owner, so that numbering and name
// matching stay free of it. The Linux implementation is posix/platform_listing.cpp.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "fs/file_stamp.h"
#include "fs/folder_identity.h"

// The system's code for why the last PlatformListing::Open on this thread failed.
int PlatformListingLastError();

struct PlatformEntry {
  std::u16string name;
  bool is_folder = false;  // a folder, or a link that leads to one
  bool is_link = false;    // a symbolic link, whatever it leads to
  int64_t size = 0;        // bytes, following links
  // A folder's identity where the status that described it tells it (not on Windows).
  std::optional<FolderIdentity> identity;
  // A symbolic link's own owner, where the system tells it (not on Windows).
  std::optional<uint32_t> link_owner;
  // A plain file's stamp, where the status that described it tells it (not on Windows).
  std::optional<FileStamp> stamp;
  // The entry's file number on its file system, as the folder's record gives it (not on
  // Windows).
  std::optional<uint64_t> node;
  // A regular file itself, as the folder's own record says (never told on Windows).
  bool is_plain = false;
  // is_folder is right as it stands: the record told the kind, and it is no link.
  bool kind_known = false;
  // Kind, size, identity and stamp are all told: Describe has nothing to add.
  bool complete = false;
};

class PlatformListing {
 public:
  PlatformListing() = default;
  PlatformListing(PlatformListing&& other) noexcept
      : handle_(std::exchange(other.handle_, nullptr)),
        error_(std::exchange(other.error_, 0)),
        fault_(std::exchange(other.fault_, 0)) {}
  PlatformListing& operator=(PlatformListing&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = std::exchange(other.handle_, nullptr);
      error_ = std::exchange(other.error_, 0);
      fault_ = std::exchange(other.fault_, 0);
    }
    return *this;
  }
  ~PlatformListing() { Close(); }

  // Not open for a missing, denied or non-folder path, or one holding a NUL.
  static PlatformListing Open(std::u16string_view folder);
  bool IsOpen() const { return handle_ != nullptr; }

  // The next entry in the system's order, "." and ".." included, with its name and
  // what the listing itself says of its kind (the folder's record, and a link's own
  // status); false at the end or on an error.
  bool Next(PlatformEntry& entry);
  // Why Next last returned false: the system's error code, or 0 at the end of the folder.
  int Error() const { return error_; }
  // Completes kind and size of the entry just returned by Next from its status, following
  // links, while the listing is open. Nothing is opened, so neither a broken link nor a
  // FIFO makes it wait.
  void Describe(PlatformEntry& entry) const;
  void Close();

 private:
  void* handle_ = nullptr;
  int error_ = 0;  // the error that ended the listing
  int fault_ = 0;  // a failure a test injected: the system's first read reports it
};
