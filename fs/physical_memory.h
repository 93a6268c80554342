#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

// Bytes of memory this process may use: the smallest of the machine's physical memory,
// the memory limits of the control groups it runs in (either hierarchy) and its address
// space and data size limits; 0 when the system does not say. Found once per process.
uint64_t PhysicalMemoryBytes();

// A control group's memory.max or memory.limit_in_bytes: a byte count, or none for "max"
// and anything unreadable.
std::optional<uint64_t> MemoryLimitFromText(std::string_view text);
// The process's control group path from the text of /proc/self/cgroup: for an empty
// controller the unified hierarchy's ("0::/path"), else the one of the hierarchy that
// holds the controller ("4:memory:/path", "7:cpu,memory:/path").
std::optional<std::string_view> ControlGroupFromText(std::string_view text, std::string_view controller = {});
