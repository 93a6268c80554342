#include "fs/mount_table.h"

#include <gtest/gtest.h>

#include <vector>

#include "fs/text_encoding.h"

namespace {

std::vector<std::u16string> Points(const std::vector<MountEntry>& entries) {
  std::vector<std::u16string> points;
  for (const MountEntry& entry : entries) points.push_back(entry.mount_point);
  return points;
}

TEST(MountTable, ParsesEscapesAndSkipsWhatIsNoEntry) {
  const std::vector<MountEntry> entries = MountTableParse(
      "/dev/sdb1 /media/my\\040disk vfat rw 0 0\n"
      "\n"
      "garbage\n"
      "none relative tmpfs rw 0 0\n"
      "/dev/sdc1 /media/back\\134slash\\011tab\\012nl ext4 rw 0 0\n"
      "/dev/sdd1 /media/caf\xe9 ext4 rw 0 0\n"
      "/dev/sde1\t/media/last\tntfs3\trw");  // tabs, and no final newline
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].device, u"/dev/sdb1");
  EXPECT_EQ(entries[0].mount_point, u"/media/my disk");
  EXPECT_EQ(entries[0].type, u"vfat");
  EXPECT_EQ(entries[1].mount_point, u"/media/back\\slash\ttab\nnl");
  EXPECT_EQ(EscapedBytesFromText(entries[2].mount_point), "/media/caf\xe9");
  EXPECT_EQ(entries[3].mount_point, u"/media/last");
}

TEST(MountTable, DrivesAreTheRootThenUserVolumesInTableOrder) {
  const std::vector<MountEntry> entries = MountTableParse(
      "proc /proc proc rw 0 0\n"
      "/dev/sdc1 /mnt/backup ext4 rw 0 0\n"
      "tmpfs /run tmpfs rw 0 0\n"
      "/dev/sdb1 /run/media/me/STICK vfat rw 0 0\n"
      "overlay / overlay rw 0 0\n"
      "/dev/sda3 /home ext4 rw 0 0\n"
      "server:/export /media/net nfs4 rw 0 0\n"
      "/dev/sda1 /boot ext4 rw 0 0\n"
      "tmpfs /mnt/ram tmpfs rw 0 0\n"
      "systemd-1 /media/auto autofs rw 0 0\n"
      "/dev/sdd1 /media/auto ext4 rw 0 0\n"
      "/dev/sde1 /mnt/backup ext4 rw 0 0\n"  // mounted over: keeps its place
      "/dev/sda1 /mntx ext4 rw 0 0\n");      // not below /mnt
  const std::vector<MountEntry> drives = MountTableDrives(entries);
  EXPECT_EQ(Points(drives), (std::vector<std::u16string>{u"/", u"/mnt/backup", u"/run/media/me/STICK", u"/home",
                                                         u"/media/net", u"/media/auto"}));
  EXPECT_EQ(drives[0].type, u"overlay");
  EXPECT_EQ(drives[1].device, u"/dev/sde1");

  // Without any table the root is still there; never more than 32.
  EXPECT_EQ(Points(MountTableDrives({})), std::vector<std::u16string>{u"/"});
  std::string many;
  for (int i = 0; i < 40; ++i) many += "/dev/x /mnt/" + std::to_string(i) + " ext4 rw 0 0\n";
  EXPECT_EQ(MountTableDrives(MountTableParse(many)).size(), kMaxDrives);
}

}  // namespace
