#include "fs/physical_memory.h"

#include <sys/resource.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string FileText(const std::string& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

uint64_t MachineMemory() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long page_size = sysconf(_SC_PAGESIZE);
  if (pages <= 0 || page_size <= 0) return 0;
  const auto p = static_cast<uint64_t>(pages);
  const auto s = static_cast<uint64_t>(page_size);
  return p > UINT64_MAX / s ? UINT64_MAX : p * s;
}

// bytes lowered to limit, where there is one (0 stands for "unknown" in bytes).
void Lower(uint64_t& bytes, std::optional<uint64_t> limit) {
  if (limit && (*limit < bytes || bytes == 0)) bytes = *limit;
}

// The limit file of the group and of every group enclosing it, under the hierarchy's
// mount point: a container or a service slice may allow far less than the machine has,
// and going past any enclosing group's limit gets the process killed just the same.
void LowerToGroups(uint64_t& bytes, const std::string& groups, std::string_view controller,
                   const std::string& mount, const std::string& file) {
  const auto group = ControlGroupFromText(groups, controller);
  if (!group) return;
  std::string path(*group);
  for (;;) {
    Lower(bytes, MemoryLimitFromText(FileText(mount + path + file)));
    if (path.size() <= 1) break;
    const size_t slash = path.rfind('/');
    path.resize(slash == 0 ? 1 : slash);
  }
}

void LowerToResourceLimit(uint64_t& bytes, int resource) {
  rlimit limit{};
  if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return;
  Lower(bytes, static_cast<uint64_t>(limit.rlim_cur));
}

uint64_t MemoryThisProcessMayUse() {
  uint64_t bytes = MachineMemory();
  const std::string groups = FileText("/proc/self/cgroup");
  LowerToGroups(bytes, groups, {}, "/sys/fs/cgroup", "/memory.max");
  LowerToGroups(bytes, groups, "memory", "/sys/fs/cgroup/memory", "/memory.limit_in_bytes");
  LowerToResourceLimit(bytes, RLIMIT_AS);
  LowerToResourceLimit(bytes, RLIMIT_DATA);
  return bytes;
}

}  // namespace

uint64_t PhysicalMemoryBytes() {
  // Limits do not change under a running scan; the files are read once.
  static const uint64_t bytes = MemoryThisProcessMayUse();
  return bytes;
}
