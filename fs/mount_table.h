#pragma once
// The system's table of mounted volumes, and which of them a user calls drives.
#include <string>
#include <string_view>
#include <vector>

struct MountEntry {
  std::u16string device;       // what is mounted: "/dev/sdb1", "server:/export", "proc"
  std::u16string mount_point;  // where, an absolute path
  std::u16string type;         // the file system: "ext4", "vfat", "proc"
};

// The entries of a table in the system's text form (/proc/self/mounts: device, mount
// point, type, options, two numbers per line, blanks escaped as octal "\040"), in
// table order. Names carry bytes that are not UTF-8 as U+DC80 + byte. Lines that are
// not entries are skipped.
std::vector<MountEntry> MountTableParse(std::string_view text);

// At most this many drives are shown.
inline constexpr size_t kMaxDrives = 32;

// The drives among the entries: "/" first (even when the table lacks it), then every
// volume a user would look for, in table order: real file systems under /media,
// /run/media and /mnt, and block devices mounted under /home. A mount point mounted
// over again keeps its place and takes the newer entry. At most kMaxDrives.
std::vector<MountEntry> MountTableDrives(const std::vector<MountEntry>& entries);

// The file that holds the system's current table, also for watching it for changes.
inline constexpr char kMountTableFile[] = "/proc/self/mounts";
// The table in `file` (by default the system's current one) as text; empty when it
// cannot be read whole.
std::string MountTableRead(const char* file = kMountTableFile);
