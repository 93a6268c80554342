#pragma once
// The memory this process may use on Linux, from figures given to it, so that every
// source can be tried without changing the machine.
#include <cstdint>
#include <optional>
#include <string>

struct MemorySources {
  uint64_t machine = 0;  // physical memory in bytes; 0 when unknown
  // A file's text; empty when it cannot be read.
  std::string (*read_text)(const std::string& path) = nullptr;
  // The soft RLIMIT_AS and RLIMIT_DATA; none when unlimited.
  std::optional<uint64_t> address_space, data_size;
};

// The smallest of the machine's memory, the memory.max of the unified hierarchy's group
// and of every group around it, the memory.limit_in_bytes of the older hierarchy's, and
// the two resource limits; 0 when none of them says.
uint64_t MemoryThisProcessMayUse(const MemorySources& sources);
