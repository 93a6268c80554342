#include "fs/stamp_trust.h"

#include <sys/vfs.h>

#include "fs/posix/system_path.h"

namespace {

// The types statfs gives (linux/magic.h and the file systems' own headers).
constexpr long kUntrusted[] = {
    0x4d44,      // FAT
    0x2011BAB0,  // exFAT
    0x65735546,  // FUSE
    0x6969,      // NFS
    0x517B,      // SMB
    0xFF534D42,  // CIFS
    0xFE534D42,  // SMB2
    0x01021997,  // 9p
    0x564c,      // NCP
    0x73757245,  // Coda
    0x786f4256,  // VirtualBox shared folders
    0x5346414F,  // AFS
    0x6B414653,  // kAFS
    0x47504653,  // GPFS
    0x013111A8,  // IBRIX
    0x00c36400,  // Ceph
};

}  // namespace

StampTrust FolderStampTrust(const std::u16string& folder) {
  const auto bytes = SystemPath(folder);
  struct statfs status {};
  if (!bytes || statfs(bytes->c_str(), &status) != 0) return {};
  for (const long type : kUntrusted) {
    if (static_cast<unsigned long>(status.f_type) == static_cast<unsigned long>(type)) return {};
  }
  // Times are kept to the nanosecond on the local file systems, but the clock they are
  // taken from moves in ticks; a second covers that and file systems of whole seconds.
  return {true, 1'000'000'000};
}
