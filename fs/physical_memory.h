#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

// Bytes of memory this process may use: the machine's physical memory, or the limit of
// the control group it runs in when that is lower; 0 when the system does not say.
uint64_t PhysicalMemoryBytes();

// A control group's memory.max: a byte count, or none for "max" and anything unreadable.
std::optional<uint64_t> MemoryLimitFromText(std::string_view text);
// The process's control group path from the text of /proc/self/cgroup ("0::/path").
std::optional<std::string_view> ControlGroupFromText(std::string_view text);
