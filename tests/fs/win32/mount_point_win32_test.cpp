// Drives and path lengths on Windows.
#include <gtest/gtest.h>

#include "fs/mount_point_probe.h"
#include "fs/mount_table.h"
#include "fs/path_limit.h"
#include "support/temp_folder.h"

namespace {

TEST(MountTable, ProbeAndPathLimit) {
  TempFolder dir;
  EXPECT_EQ(MountPointProbe(dir.Text()), MountPointState::kReady);
  EXPECT_EQ(MountPointProbe(dir.Text("absent")), MountPointState::kNotReady);
  EXPECT_EQ(MountPointProbe(std::u16string(u"C:\\a\0b", 6)), MountPointState::kUnreadable);
  // Windows keeps no mount table.
  EXPECT_EQ(MountTableRead(), "");

  // MAX_PATH counts the terminating NUL.
  EXPECT_TRUE(PathFitsSystem(u"C:\\" + std::u16string(256, u'a')));
  EXPECT_FALSE(PathFitsSystem(u"C:\\" + std::u16string(257, u'a')));
}

}  // namespace
