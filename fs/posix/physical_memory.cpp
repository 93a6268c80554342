#include "fs/physical_memory.h"

#include <sys/resource.h>
#include <unistd.h>

#include <string>

#include "fs/platform_file.h"
#include "fs/posix/memory_limits.h"

namespace {

// Control group and /proc files are a few lines; more would be no limit file.
constexpr int64_t kLongestText = 64 * 1024;

// The file's text through the file layer, which reports a failure rather than throwing.
std::string FileText(const std::string& path) {
  PlatformFile file = PlatformFile::Open(std::u16string(path.begin(), path.end()), PlatformAccess::Read,
                                         PlatformDisposition::OpenExisting, PlatformShare::Unlocked);
  char buffer[4096];
  std::string text;
  for (int64_t got = 0; file.IsOpen() && text.size() < kLongestText;) {
    got = file.Read(buffer, sizeof buffer);
    if (got <= 0) break;
    text.append(buffer, static_cast<size_t>(got));
  }
  return text;
}

uint64_t MachineMemory() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long page_size = sysconf(_SC_PAGESIZE);
  if (pages <= 0 || page_size <= 0) return 0;
  const auto p = static_cast<uint64_t>(pages);
  const auto s = static_cast<uint64_t>(page_size);
  return p > UINT64_MAX / s ? UINT64_MAX : p * s;
}

std::optional<uint64_t> ResourceLimit(int resource) {
  rlimit limit{};
  if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return std::nullopt;
  return static_cast<uint64_t>(limit.rlim_cur);
}

// bytes lowered to limit, where there is one (0 stands for "unknown" in bytes).
void Lower(uint64_t& bytes, std::optional<uint64_t> limit) {
  if (limit && (*limit < bytes || bytes == 0)) bytes = *limit;
}

// The limit file of the group and of every group enclosing it, under the hierarchy's
// mount point: a container or a service slice may allow far less than the machine has,
// and going past any enclosing group's limit gets the process killed just the same.
void LowerToGroups(uint64_t& bytes, const MemorySources& sources, const std::string& groups,
                   std::string_view controller, const std::string& mount, const std::string& file) {
  const auto group = ControlGroupFromText(groups, controller);
  if (!group) return;
  std::string path(*group);
  for (;;) {
    Lower(bytes, MemoryLimitFromText(sources.read_text(mount + path + file)));
    if (path.size() <= 1) break;
    const size_t slash = path.rfind('/');
    path.resize(slash == 0 ? 1 : slash);
  }
}

}  // namespace

uint64_t MemoryThisProcessMayUse(const MemorySources& sources) {
  uint64_t bytes = sources.machine;
  const std::string groups = sources.read_text("/proc/self/cgroup");
  LowerToGroups(bytes, sources, groups, {}, "/sys/fs/cgroup", "/memory.max");
  LowerToGroups(bytes, sources, groups, "memory", "/sys/fs/cgroup/memory", "/memory.limit_in_bytes");
  Lower(bytes, sources.address_space);
  Lower(bytes, sources.data_size);
  return bytes;
}

uint64_t PhysicalMemoryBytes() {
  // Limits do not change under a running scan; the files are read once.
  static const uint64_t bytes =
      MemoryThisProcessMayUse({MachineMemory(), FileText, ResourceLimit(RLIMIT_AS), ResourceLimit(RLIMIT_DATA)});
  return bytes;
}
