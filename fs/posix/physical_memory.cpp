#include "fs/physical_memory.h"

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

}  // namespace

uint64_t PhysicalMemoryBytes() {
  uint64_t bytes = MachineMemory();
  // A container or a service slice may allow far less than the machine has; going past
  // its limit gets the process killed just the same.
  // The group's own limit and every enclosing group's count.
  const std::string groups = FileText("/proc/self/cgroup");
  const auto group = ControlGroupFromText(groups);
  if (!group) return bytes;
  for (std::string path(*group); path.size() > 1; path.resize(path.rfind('/') == 0 ? 1 : path.rfind('/'))) {
    const auto limit = MemoryLimitFromText(FileText("/sys/fs/cgroup" + path + "/memory.max"));
    if (limit && (*limit < bytes || bytes == 0)) bytes = *limit;
  }
  return bytes;
}
