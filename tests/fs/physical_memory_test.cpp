#include "fs/physical_memory.h"

#include <gtest/gtest.h>

TEST(PhysicalMemory, ReadsControlGroupLimits) {
  EXPECT_EQ(MemoryLimitFromText("1073741824\n"), 1073741824u);
  EXPECT_EQ(MemoryLimitFromText("max\n"), std::nullopt);
  EXPECT_EQ(MemoryLimitFromText(""), std::nullopt);
  EXPECT_EQ(MemoryLimitFromText("12x"), std::nullopt);
  EXPECT_EQ(ControlGroupFromText("12:cpu:/old\n0::/user.slice/app.scope\n"), "/user.slice/app.scope");
  EXPECT_EQ(ControlGroupFromText("3:memory:/docker/abc\n"), std::nullopt);
  EXPECT_EQ(ControlGroupFromText("0::/unified\n3:memory:/docker/abc\n", "memory"), "/docker/abc");
  EXPECT_EQ(ControlGroupFromText("7:cpu,memory,pids:/a\n", "memory"), "/a");
  EXPECT_EQ(ControlGroupFromText("7:cpu,memoryx:/a\n1:name=memory:/b\n", "memory"), std::nullopt);
  EXPECT_GT(PhysicalMemoryBytes(), 0u);
}
