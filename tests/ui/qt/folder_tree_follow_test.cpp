// The folder tree follows the disk: opened folders are watched, F5 reads them again,
// and what vanishes drops out without losing the selection.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTreeWidget>
#include <filesystem>

#include "tests/ui/qt/folder_tree_test_support.h"

namespace {

namespace fs = std::filesystem;

// Lets EventWait dispatch until the condition holds, up to a second and a half.
template <typename Condition>
bool Within(Condition condition, std::vector<SeenControlEvent>* seen = nullptr) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < 1500) {
    if (condition()) return true;
    if (EventWait(kSettleMs) == ControlEvent && seen) seen->push_back({EventControl(), EventWindow(), EventDetail()});
  }
  return condition();
}

TEST_F(FolderTreeTest, OpenedFoldersShowWhatIsAddedOnDiskWithinASecond) {
  fs::create_directories(dir.Path("top/kept/inner"));
  Create(dir.Text("top") + u"/");
  QTreeWidgetItem* top = Tree()->currentItem();
  Child(top, u"kept")->setExpanded(true);
  DrainEvents();

  fs::create_directory(dir.Path("top/new"));
  fs::create_directory(dir.Path("top/kept/deeper"));
  EXPECT_TRUE(Within([&] { return Child(top, u"new") && Child(Child(top, u"kept"), u"deeper"); }));
  // The nodes that stayed keep their state: open, filled, the selection where it was.
  EXPECT_TRUE(Child(top, u"kept")->isExpanded());
  EXPECT_EQ(Tree()->currentItem(), top);
  EXPECT_EQ(ControlGetText(1), dir.Text("top") + u"/");
  // Nothing the application would act on came of it.
  EXPECT_TRUE(DrainControlEvents().empty());

  // A closed folder is not watched; opened again, it shows what changed meanwhile.
  QTreeWidgetItem* kept = Child(top, u"kept");
  kept->setExpanded(false);
  fs::create_directory(dir.Path("top/kept/later"));
  kept->setExpanded(true);
  EXPECT_NE(Child(kept, u"later"), nullptr);
}

TEST_F(FolderTreeTest, VanishedFoldersDropOutAndTheSelectionMovesToTheNearestParent) {
  fs::create_directories(dir.Path("top/gone/inner"));
  fs::create_directories(dir.Path("top/other"));
  Create(dir.Text("top/gone/inner") + u"/");
  QTreeWidgetItem* top = Tree()->currentItem()->parent()->parent();
  DrainEvents();

  // A folder beside the selection goes quietly.
  fs::remove(dir.Path("top/other"));
  EXPECT_TRUE(Within([&] { return !Child(top, u"other"); }));
  EXPECT_TRUE(DrainControlEvents().empty());
  EXPECT_EQ(ControlGetText(1), dir.Text("top/gone/inner") + u"/");

  // The selected folder and its parent go: the selection moves to the folder still
  // there, reported once as a change.
  fs::remove_all(dir.Path("top/gone"));
  std::vector<SeenControlEvent> seen;
  EXPECT_TRUE(Within([&] { return !Child(top, u"gone"); }, &seen));
  for (const SeenControlEvent& event : DrainControlEvents()) seen.push_back(event);
  EXPECT_EQ(Tree()->currentItem(), top);
  EXPECT_EQ(ControlGetText(1), dir.Text("top") + u"/");
  EXPECT_EQ(seen, (std::vector<SeenControlEvent>{{1, 0, DetailChange}}));
}

TEST_F(FolderTreeTest, RefreshReadsTheMountTableAndTheOpenFoldersNow) {
  fs::create_directories(dir.Path("a"));
  Create(dir.Text("a") + u"/");
  DrainEvents();
  // Read now, before any watch reports it.
  fs::create_directory(dir.Path("a/b"));
  table += "/dev/sdb1 /media/b vfat rw 0 0\n";
  FolderTreeRefresh(1);
  EXPECT_EQ(ChildTexts(Tree()->currentItem()), std::vector<std::u16string>{u"b"});
  EXPECT_NE(Child(Computer(), u"/media/b"), nullptr);
  EXPECT_TRUE(DrainControlEvents().empty());
  FolderTreeRefresh(99);  // no such control: nothing happens
}

}  // namespace
