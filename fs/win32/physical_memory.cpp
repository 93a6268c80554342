#include "fs/physical_memory.h"

#include <windows.h>

namespace {

// bytes lowered to limit (0 stands for "unknown" in bytes, and for "none" in limit).
void Lower(uint64_t& bytes, uint64_t limit) {
  if (limit != 0 && (limit < bytes || bytes == 0)) bytes = limit;
}

uint64_t MemoryThisProcessMayUse() {
  uint64_t bytes = 0;
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  if (GlobalMemoryStatusEx(&status)) {
    bytes = status.ullTotalPhys;
    Lower(bytes, status.ullTotalVirtual);
  }
  // A job the process runs in (a service's, a build system's) may allow far less, and
  // going past its limit fails every allocation.
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION job{};
  if (QueryInformationJobObject(nullptr, JobObjectExtendedLimitInformation, &job, sizeof job, nullptr)) {
    const DWORD flags = job.BasicLimitInformation.LimitFlags;
    if (flags & JOB_OBJECT_LIMIT_PROCESS_MEMORY) Lower(bytes, job.ProcessMemoryLimit);
    if (flags & JOB_OBJECT_LIMIT_JOB_MEMORY) Lower(bytes, job.JobMemoryLimit);
  }
  return bytes;
}

}  // namespace

uint64_t PhysicalMemoryBytes() {
  // Limits do not change under a running scan; the system is asked once.
  static const uint64_t bytes = MemoryThisProcessMayUse();
  return bytes;
}
