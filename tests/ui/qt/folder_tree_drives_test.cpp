// Volumes arriving and going away, told by a mount table the test rewrites, and the
// notice of a drive that cannot be read.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <filesystem>

#include "tests/ui/qt/folder_tree_test_support.h"

namespace {

namespace fs = std::filesystem;

// The open notice, if any.
QDialog* Notice() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible()) return dialog;
  return nullptr;
}

TEST_F(FolderTreeTest, VolumesComingAndGoingFollowTheMountTable) {
  table += "/dev/sdb1 /media/a vfat rw 0 0\n";
  Create();
  EXPECT_EQ(ChildTexts(Computer()), (std::vector<std::u16string>{u"/", u"/media/a", u"Documents"}));

  // One goes, another comes: with the drives, not after the documents.
  table = "/dev/vda / ext4 rw 0 0\n/dev/sdc1 /mnt/b ext4 rw 0 0\n";
  MountedDrivesRefresh();
  EXPECT_EQ(ChildTexts(Computer()), (std::vector<std::u16string>{u"/", u"/mnt/b", u"Documents"}));
  EXPECT_EQ(PathOf(Computer()->child(1)), u"/mnt/b/");
  // Drives stand sorted, the root first, whatever order they came in; a rebuild
  // shows them the same way.
  table += "/dev/sdd1 /media/c vfat rw 0 0\n";
  MountedDrivesRefresh();
  EXPECT_EQ(ChildTexts(Computer()), (std::vector<std::u16string>{u"/", u"/media/c", u"/mnt/b", u"Documents"}));
  FolderTreeNavigate(1, u"");
  EXPECT_EQ(ChildTexts(Computer()), (std::vector<std::u16string>{u"/", u"/media/c", u"/mnt/b", u"Documents"}));
  table = "/dev/vda / ext4 rw 0 0\n/dev/sdc1 /mnt/b ext4 rw 0 0\n";
  MountedDrivesRefresh();
  EXPECT_EQ(ChildTexts(Computer()), (std::vector<std::u16string>{u"/", u"/mnt/b", u"Documents"}));

  // Another volume on the root: the drive closes and forgets what it showed; the
  // selection inside it goes with it.
  fs::create_directory(dir.Path("sub"));
  FolderTreeNavigate(1, dir.Text("sub/"));
  QTreeWidgetItem* root_drive = Computer()->child(0);
  ASSERT_GT(root_drive->childCount(), 0);
  DrainEvents();
  table = "/dev/vdb / ext4 rw 0 0\n/dev/sdc1 /mnt/b ext4 rw 0 0\n";
  MountedDrivesRefresh();
  EXPECT_EQ(Computer()->child(0), root_drive);
  EXPECT_FALSE(root_drive->isExpanded());
  EXPECT_EQ(root_drive->childCount(), 0);
  EXPECT_EQ(root_drive->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
  EXPECT_NE(ControlGetText(1), dir.Text("sub/"));
  // Opened again, it reads its folders anew, once.
  FolderTreeNavigate(1, dir.Text("sub/"));
  EXPECT_EQ(ControlGetText(1), dir.Text("sub/"));
  const int children = root_drive->childCount();
  FolderTreeNavigate(1, u"/");
  EXPECT_EQ(root_drive->childCount(), children);

  // Nothing changed: nothing happens.
  DrainEvents();
  MountedDrivesRefresh();
  EXPECT_EQ(ControlGetText(1), u"/");
  EXPECT_TRUE(DrainControlEvents().empty());
}

TEST_F(FolderTreeTest, UnreadyDriveShowsANoticeUntilClosedOrArrived) {
  table += "/dev/sr0 /media/imagescan-absent-disc iso9660 ro 0 0\n";
  QTreeWidget* tree = Create();
  QTreeWidgetItem* disc = Computer()->child(1);
  disc->setExpanded(true);
  QDialog* notice = Notice();
  ASSERT_NE(notice, nullptr);
  EXPECT_TRUE(notice->findChild<QLabel*>("NoticeText")->text().contains("/media/imagescan-absent-disc"));
  EXPECT_FALSE(tree->isEnabled());
  // Left unfilled and closed, so that opening it again tries again.
  EXPECT_FALSE(disc->isExpanded());
  EXPECT_EQ(disc->childCount(), 0);

  // Its button closes it.
  notice->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
  EXPECT_EQ(Notice(), nullptr);
  EXPECT_TRUE(tree->isEnabled());

  // The drive's arrival closes it.
  disc->setExpanded(true);
  ASSERT_NE(Notice(), nullptr);
  table = "/dev/vda / ext4 rw 0 0\n/dev/sr1 /media/imagescan-absent-disc iso9660 ro 0 0\n";
  MountedDrivesRefresh();
  EXPECT_EQ(Notice(), nullptr);
  EXPECT_TRUE(tree->isEnabled());

  // So does the window's close button.
  disc->setExpanded(true);
  ASSERT_NE(Notice(), nullptr);
  Notice()->close();
  EXPECT_EQ(Notice(), nullptr);
  EXPECT_TRUE(tree->isEnabled());

  // A tree that goes takes its notice along.
  Computer()->child(1)->setExpanded(true);
  ASSERT_NE(Notice(), nullptr);
  Create();
  EXPECT_EQ(Notice(), nullptr);
  // So does its window.
  Create();
  Computer()->child(1)->setExpanded(true);
  ASSERT_NE(Notice(), nullptr);
  WindowClose(0);
  EXPECT_EQ(Notice(), nullptr);
}

}  // namespace
