// Drives numbered as the folder trees show them, kept while they stay mounted.
#include "ui/drive_table.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "ui/mounted_drives.h"

namespace {

TEST(DriveTable, DrivesKeepTheirNumbersWhileMounted) {
  const auto drives = [](std::initializer_list<const char16_t*> points) {
    std::vector<MountEntry> list;
    for (const char16_t* point : points) list.push_back({u"dev", point, u"ext4"});
    return list;
  };
  DriveTable table;
  DriveChanges changes = table.Update(drives({u"/", u"/media/a", u"/media/b"}));
  EXPECT_EQ(changes.arrived, 0b111u);
  EXPECT_EQ(table.Present(), 0b111u);

  // "/media/a" goes and "/media/c" comes in one change: c takes a fresh number.
  changes = table.Update(drives({u"/", u"/media/b", u"/media/c"}));
  EXPECT_EQ(changes.removed, 0b010u);
  EXPECT_EQ(changes.arrived, 0b1000u);
  EXPECT_EQ(table.Drive(3)->mount_point, u"/media/c");
  EXPECT_EQ(table.Drive(1), nullptr);
  // Later a new one takes the lowest free number.
  changes = table.Update(drives({u"/", u"/media/b", u"/media/c", u"/media/d"}));
  EXPECT_EQ(changes.arrived, 0b10u);

  // Another volume at the same place is a change, not an arrival.
  std::vector<MountEntry> swapped = drives({u"/", u"/media/b", u"/media/c", u"/media/d"});
  swapped[1].device = u"other";
  changes = table.Update(swapped);
  EXPECT_EQ(changes.changed, 0b100u);
  EXPECT_EQ(changes.arrived | changes.removed, 0u);

  // The drive of a path: the longest mount point that holds it, by whole names.
  changes = table.Update(drives({u"/", u"/media/b", u"/media/bb"}));
  EXPECT_EQ(changes.removed, 0b1010u);
  EXPECT_EQ(changes.arrived, 0b10000u);
  EXPECT_EQ(table.DriveOf(u"/media/bb/x/"), 4);
  EXPECT_EQ(table.DriveOf(u"/media/b/x/"), 2);
  EXPECT_EQ(table.DriveOf(u"/media/b"), 2);
  EXPECT_EQ(table.DriveOf(u"/media/bbb/"), 0);
  EXPECT_EQ(table.DriveOf(u"relative/"), -1);

  // At most 32 drives.
  std::vector<MountEntry> many;
  for (int i = 0; i < 40; ++i)
    many.push_back({u"dev", u"/mnt/" + std::u16string(1, static_cast<char16_t>(u'A' + i)), u"ext4"});
  table.Update(many);
  EXPECT_EQ(table.Present(), 0xFFFFFFFFu);
}

TEST(MountedDrives, ReportOnlyWhatChangedAndKeepTheDrivesOfAnUnreadableTable) {
  std::string table = "/dev/vda / ext4 rw 0 0\n";
  MountedDrivesSourceSet([&] { return table; });
  std::vector<DriveChanges> seen;
  {
    MountedDrives drives([&](const DriveChanges& changes) { seen.push_back(changes); });
    EXPECT_EQ(drives.Drives().Present(), 0b1u);
    MountedDrivesRefresh();
    EXPECT_TRUE(seen.empty());
    table += "/dev/sdb1 /media/a vfat rw 0 0\n";
    MountedDrivesRefresh();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].arrived, 0b10u);
    table.clear();
    drives.Refresh();
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_EQ(drives.Drives().Present(), 0b11u);
  }
  // Gone: a change of the table reaches nothing.
  table = "/dev/vda / ext4 rw 0 0\n";
  MountedDrivesRefresh();
  EXPECT_EQ(seen.size(), 1u);
  MountedDrivesSourceSet(nullptr);
}

}  // namespace
