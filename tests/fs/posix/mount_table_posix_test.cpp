// The mount table, drive probes and path limits of Linux.
#include <gtest/gtest.h>

#include "fs/mount_point_probe.h"
#include "fs/mount_table.h"
#include "fs/path_limit.h"
#include "support/temp_folder.h"

namespace {

TEST(MountTable, ReadsATableWholeOrNotAtAll) {
  // A given table rather than the machine's, which lacks "/" in a chroot: longer than
  // one read, so it comes in pieces.
  TempFolder dir;
  std::string table = "overlay / overlay rw 0 0\n";
  for (int i = 0; table.size() < 10000; ++i) table += "/dev/x /mnt/" + std::to_string(i) + " ext4 rw 0 0\n";
  dir.Put("mounts", table);
  EXPECT_EQ(MountTableRead(dir.Path("mounts").c_str()), table);
  EXPECT_EQ(MountTableRead(dir.Path("absent").c_str()), "");
  EXPECT_EQ(MountTableRead(dir.Path("").c_str()), "");  // a folder reads as an error
}

TEST(MountTable, ProbeAndPathLimit) {
  TempFolder dir;
  EXPECT_EQ(MountPointProbe(dir.Text()), MountPointState::kReady);
  EXPECT_EQ(MountPointProbe(dir.Text("absent")), MountPointState::kNotReady);
  EXPECT_EQ(MountPointProbe(std::u16string(u"/a\0b", 4)), MountPointState::kUnreadable);

  EXPECT_TRUE(PathFitsSystem(u"/" + std::u16string(4094, u'a')));
  EXPECT_FALSE(PathFitsSystem(u"/" + std::u16string(4095, u'a')));
  // Counted in the bytes the system gets: an escaped byte is one, "é" is two.
  EXPECT_TRUE(PathFitsSystem(std::u16string(4095, u'\xDCFF')));
  EXPECT_FALSE(PathFitsSystem(std::u16string(2048, u'\xE9')));
}

}  // namespace
