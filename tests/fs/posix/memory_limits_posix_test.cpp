// The memory budget on Linux from injected figures: every source can lower it, none
// raises it.
#include "fs/posix/memory_limits.h"

#include <gtest/gtest.h>

#include <map>

namespace {

constexpr uint64_t kGiB = uint64_t{1} << 30;

std::map<std::string, std::string> g_files;

std::string FakeFile(const std::string& path) {
  const auto found = g_files.find(path);
  return found == g_files.end() ? std::string() : found->second;
}

uint64_t Budget(uint64_t machine, std::optional<uint64_t> address_space = {}, std::optional<uint64_t> data_size = {}) {
  return MemoryThisProcessMayUse({machine, FakeFile, address_space, data_size});
}

TEST(MemoryBudget, TakesTheSmallestLimitAndNoLimitRaisesIt) {
  g_files = {};
  EXPECT_EQ(Budget(8 * kGiB), 8 * kGiB);
  EXPECT_EQ(Budget(0), 0u);  // nothing says

  // The unified hierarchy: the group's own limit, and that of a group around it.
  g_files = {{"/proc/self/cgroup", "0::/user.slice/app.scope\n"},
             {"/sys/fs/cgroup/user.slice/app.scope/memory.max", "max\n"},
             {"/sys/fs/cgroup/user.slice/memory.max", "2147483648\n"}};
  EXPECT_EQ(Budget(8 * kGiB), 2 * kGiB);
  g_files["/sys/fs/cgroup/user.slice/app.scope/memory.max"] = "1073741824\n";
  EXPECT_EQ(Budget(8 * kGiB), 1 * kGiB);
  EXPECT_EQ(Budget(0), 1 * kGiB);  // an unknown machine takes the group's word

  // The older hierarchy, beside the unified one: the smaller of the two counts.
  g_files["/proc/self/cgroup"] = "0::/user.slice/app.scope\n4:memory:/docker/abc\n";
  g_files["/sys/fs/cgroup/memory/docker/abc/memory.limit_in_bytes"] = "536870912\n";
  EXPECT_EQ(Budget(8 * kGiB), kGiB / 2);

  // The resource limits, each below everything else.
  EXPECT_EQ(Budget(8 * kGiB, kGiB / 4), kGiB / 4);
  EXPECT_EQ(Budget(8 * kGiB, kGiB / 4, kGiB / 8), kGiB / 8);
  EXPECT_EQ(Budget(8 * kGiB, {}, kGiB / 8), kGiB / 8);

  // Limits beyond the machine's memory (the older hierarchy's "unlimited" is a huge
  // number) leave the machine's memory as it is.
  g_files = {{"/proc/self/cgroup", "4:memory:/\n0::/\n"},
             {"/sys/fs/cgroup/memory/memory.limit_in_bytes", "9223372036854771712\n"},
             {"/sys/fs/cgroup/memory.max", "17179869184\n"}};
  EXPECT_EQ(Budget(8 * kGiB, 16 * kGiB, 32 * kGiB), 8 * kGiB);
}

}  // namespace
