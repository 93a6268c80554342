// The folder tree over real folders made by each test, with a mount table of the
// test's own.
#include "ui/folder_tree.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QScrollBar>
#include <QTreeWidget>
#include <filesystem>
#include <vector>

#include "tests/ui/qt/folder_tree_test_support.h"
#include "ui/qt/window_access.h"

namespace {

namespace fs = std::filesystem;

// Names as the system lists them, in its order.
std::vector<std::u16string> SystemOrder(const fs::path& folder, bool folders) {
  std::vector<std::u16string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder))
    if (entry.is_directory() == folders) names.push_back(TextFromEscapedBytes(entry.path().filename().string()));
  return names;
}

TEST_F(FolderTreeTest, StartsWithComputerOpenRootDriveFirstThenDrivesThenDocuments) {
  table += "/dev/sdb1 /media/usb\\040stick vfat rw 0 0\nproc /proc proc rw 0 0\n";
  QTreeWidget* tree = Create();
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(tree->parentWidget(), WindowHandle(0));
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  QTreeWidgetItem* computer = Computer();
  EXPECT_EQ(Text(computer), u"My Computer");
  EXPECT_TRUE(computer->isExpanded());
  ASSERT_EQ(computer->childCount(), 3);
  EXPECT_EQ(Text(computer->child(1)), u"/media/usb stick");  // no label: the mount point
  EXPECT_EQ(Text(computer->child(2)), u"Documents");

  // Nothing selected: empty text, state 0; the application's first event comes only
  // from the user.
  EXPECT_EQ(ControlGetText(1), u"");
  EXPECT_EQ(ControlGetState(1), 0);
  EXPECT_TRUE(DrainControlEvents().empty());

  EXPECT_EQ(PathOf(computer), u"");
  EXPECT_EQ(ControlGetState(1), 2);
  // The root drive reads as "/" and counts as selected before it was ever opened.
  EXPECT_EQ(PathOf(computer->child(0)), u"/");
  EXPECT_EQ(ControlGetState(1), 2);
  EXPECT_EQ(PathOf(computer->child(1)), u"/media/usb stick/");
  EXPECT_EQ(PathOf(computer->child(2)), home.Text("Documents") + u"/");

  // Flag 0x1 leaves the documents node out.
  tree = Create(u"", kFolderTreeNoDocuments);
  EXPECT_EQ(ChildTexts(Computer()).size(), 2u);
}

TEST_F(FolderTreeTest, OpeningAFolderShowsSubfoldersThenFilesOnce) {
  for (const char* name : {"b", "a", ".hidden", "empty", "only_files", "deep"}) fs::create_directory(dir.Path(name));
  for (const char* name : {"z.png", "y.txt", ".dot"}) dir.Put(name, "x");
  dir.Put("only_files/p.png", "x");
  fs::create_directory(dir.Path("deep/inner"));
  fs::create_directory_symlink(dir.Path("a"), dir.Path("link"));
  Create(dir.Text() + u"/");
  QTreeWidgetItem* folder = Tree()->currentItem();
  ASSERT_NE(folder, nullptr);
  EXPECT_EQ(ControlGetText(1), dir.Text() + u"/");
  // The way down was opened: the target is open too.
  EXPECT_TRUE(folder->isExpanded());

  std::vector<std::u16string> expected = SystemOrder(dir.Path(""), true);
  const std::vector<std::u16string> files = SystemOrder(dir.Path(""), false);
  expected.insert(expected.end(), files.begin(), files.end());
  EXPECT_EQ(ChildTexts(folder), expected);
  EXPECT_EQ(expected.size(), 10u);

  // Expand indicators: nothing inside gives none, only files or a folder give one.
  EXPECT_EQ(Child(folder, u"empty")->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicator);
  EXPECT_EQ(Child(folder, u"only_files")->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
  EXPECT_EQ(Child(folder, u"deep")->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
  EXPECT_EQ(Child(folder, u"z.png")->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicator);

  // Texts and states of folders and files.
  EXPECT_EQ(PathOf(Child(folder, u"link")), dir.Text("link") + u"/");
  EXPECT_EQ(ControlGetState(1), 2);
  EXPECT_EQ(PathOf(Child(folder, u"z.png")), dir.Text("z.png"));
  EXPECT_EQ(ControlGetState(1), 1);

  // Opened by the user: filled as it opens.
  QTreeWidgetItem* only_files = Child(folder, u"only_files");
  only_files->setExpanded(true);
  EXPECT_EQ(ChildTexts(only_files), std::vector<std::u16string>{u"p.png"});
  // Opening a node reported nothing but the selections.
  for (const SeenControlEvent& seen : DrainControlEvents()) EXPECT_EQ(seen.detail, DetailChange);
}

TEST_F(FolderTreeTest, NavigationMatchesNamesWithoutTheirCase) {
  fs::create_directory(dir.Path("Photos"));
  fs::create_directory(dir.Path("Photos/Cats"));
  Create();
  DrainEvents();

  FolderTreeNavigate(1, dir.Text("PHOTOS/cats/"));
  EXPECT_EQ(ControlGetText(1), dir.Text("Photos/Cats/"));
  EXPECT_EQ(DrainControlEvents(), (std::vector<SeenControlEvent>{{1, 0, DetailChange}}));
  // A path on no drive leads nowhere.
  FolderTreeNavigate(1, u"relative/path/");
  EXPECT_EQ(ControlGetText(1), dir.Text("Photos/Cats/"));
  EXPECT_TRUE(DrainControlEvents().empty());

  // "/" selects the root drive.
  FolderTreeNavigate(1, u"/");
  EXPECT_EQ(ControlGetText(1), u"/");
}

TEST_F(FolderTreeTest, PatternListRebuildsAndSelectsAgain) {
  fs::create_directory(dir.Path("sub"));
  for (const char* name : {"a.png", "B.JPG", "c.gif", "d.png.txt", "e.jpg"}) dir.Put(name, "x");
  Create(dir.Text() + u"/");
  QTreeWidgetItem* before = Tree()->currentItem();
  DrainEvents();

  FolderTreeNavigate(1, u"*.png;*.jpg");
  QTreeWidgetItem* folder = Tree()->currentItem();
  ASSERT_NE(folder, nullptr);
  EXPECT_NE(folder, before);  // new items: the tree was built again
  EXPECT_EQ(ControlGetText(1), dir.Text() + u"/");
  EXPECT_EQ(DrainControlEvents(), (std::vector<SeenControlEvent>{{1, 0, DetailChange}}));
  std::vector<std::u16string> shown = ChildTexts(folder);
  std::sort(shown.begin(), shown.end());
  EXPECT_EQ(shown, (std::vector<std::u16string>{u"B.JPG", u"a.png", u"e.jpg", u"sub"}));

  // Folders only: no files, and a folder holding only files has no indicator.
  dir.Put("sub/f.gif", "x");
  Create(dir.Text() + u"/", kFolderTreeFoldersOnly);
  EXPECT_EQ(ChildTexts(Tree()->currentItem()), std::vector<std::u16string>{u"sub"});
  EXPECT_EQ(Tree()->currentItem()->child(0)->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicator);
}

TEST_F(FolderTreeTest, OddNamesKeepTheirBytesAndBadFoldersStayEmpty) {
  const std::string odd = "caf\xe9-\xff.png";  // not UTF-8
  dir.Put(odd, "x");
  fs::create_directory(dir.Path("gone"));
  fs::create_directory(dir.Path("gone/inner"));
  fs::create_symlink(dir.Path("loop"), dir.Path("loop"));
  Create(dir.Text() + u"/");
  QTreeWidgetItem* folder = Tree()->currentItem();
  const std::u16string odd_path = PathOf(Child(folder, TextFromEscapedBytes(odd)));
  EXPECT_EQ(EscapedBytesFromText(odd_path), dir.Path(odd).string());
  EXPECT_TRUE(fs::exists(EscapedBytesFromText(odd_path)));
  // A link that leads to itself is no folder to descend into.
  EXPECT_EQ(Child(folder, u"loop")->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicator);

  // A folder that cannot be read when it is opened: no children, no message.
  QTreeWidgetItem* gone = Child(folder, u"gone");
  EXPECT_EQ(gone->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
  fs::remove_all(dir.Path("gone"));
  gone->setExpanded(true);
  EXPECT_EQ(gone->childCount(), 0);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(FolderTreeTest, PathsLongerThanTheSystemTakesAreLeftOut) {
  // Folders of 200-byte names down to a path the system still takes, with one child
  // whose path it would refuse.
  const std::string name(200, 'n');
  const std::string far(255, 'x');
  std::string deep = dir.Path("").string();
  while (deep.size() + name.size() + 1 < 4090) {
    deep += name + "/";
    ASSERT_EQ(mkdir(deep.c_str(), 0700), 0);
  }
  const fs::path was = fs::current_path();
  fs::current_path(deep);  // relative calls reach below the limit
  ASSERT_EQ(mkdir(far.c_str(), 0700), 0);
  ASSERT_EQ(mkdir("short", 0700), 0);

  Create(TextFromEscapedBytes(deep));
  EXPECT_EQ(EscapedBytesFromText(ControlGetText(1)), deep);
  EXPECT_EQ(ChildTexts(Tree()->currentItem()), std::vector<std::u16string>{u"short"});
  // Long names are shown whole: the tree scrolls sideways to them.
  QApplication::processEvents();
  EXPECT_GE(Tree()->columnWidth(0), Tree()->fontMetrics().horizontalAdvance(QString::fromStdString(name)));
  EXPECT_GT(Tree()->horizontalScrollBar()->maximum(), 0);
  rmdir(far.c_str());
  fs::current_path(was);
}

}  // namespace
