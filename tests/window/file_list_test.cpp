// The window's file list as the user's mouse and keys reach it: which inputs show the
// file message, and what the tree's top node lists.
#include <gtest/gtest.h>

#include <QTreeWidget>

#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "window_driver.h"

namespace {

QTreeWidget* Tree() { return qobject_cast<QTreeWidget*>(WindowDriver::Control(kFolderTree)); }
QTreeWidget* FileList() { return qobject_cast<QTreeWidget*>(WindowDriver::Control(kFileList)); }

std::vector<std::string> Names() {
  std::vector<std::string> names;
  for (int i = 0; i < FileList()->topLevelItemCount(); ++i)
    names.push_back(FileList()->topLevelItem(i)->text(0).toStdString());
  return names;
}

// The middle of the file list's row that shows `name`.
QPoint RowCentre(const QString& name) {
  const QList<QTreeWidgetItem*> found = FileList()->findItems(name, Qt::MatchExactly, 0);
  return found.isEmpty() ? QPoint(-1, -1) : FileList()->visualItemRect(found.front()).center();
}

TEST(FileList, AClickShowsNoMessageADoubleClickAndEnterShowItOnce) {
  TempFolder folder;
  folder.Put("notes.txt", "text");
  folder.Put("pic.png", "x");
  size_t after_click = 0, after_double_click = 0;
  WindowDriver driver;
  driver.Then([&] { WindowDriver::Select(folder.Text() + u"/"); })
      .Then([] { QTest::mouseClick(FileList()->viewport(), Qt::LeftButton, {}, RowCentre("pic.png")); })
      .Then([&] {
        after_click = driver.messages.size();
        // A double-click as the mouse makes it: a click, then the second press.
        QTest::mouseClick(FileList()->viewport(), Qt::LeftButton, {}, RowCentre("pic.png"));
        QTest::mouseDClick(FileList()->viewport(), Qt::LeftButton, {}, RowCentre("pic.png"));
      })
      .Then([&] {
        after_double_click = driver.messages.size();
        FileList()->setFocus();
        QTest::keyClick(FileList(), Qt::Key_Return);
      })
      .Then([] { WindowDriver::Click(kQuitButton); });
  EXPECT_EQ(driver.Run(), 0);
  EXPECT_EQ(after_click, 0u);
  EXPECT_EQ(after_double_click, 1u);
  ASSERT_EQ(driver.messages.size(), 2u);
  for (const ShownMessage& message : driver.messages) {
    EXPECT_EQ(message.caption, u"File Selected");
    EXPECT_EQ(message.text, u"You double-clicked: pic.png");
  }
}

TEST(FileList, TheTopNodeEmptiesTheListAndReadsNoFolder) {
  TempFolder folder, current;
  folder.Put("pic.png", "x");
  // An empty path taken for a folder would be the current one: give it a file to show.
  current.Put("current.txt", "x");
  const std::filesystem::path was = std::filesystem::current_path();
  std::filesystem::current_path(current.Path(""));
  std::vector<std::string> listed, after_top;
  std::u16string top_text = u"unread";
  WindowDriver driver;
  driver.Then([&] { WindowDriver::Select(folder.Text() + u"/"); })
      .Then([&] {
        listed = Names();
        // Home in the tree: the computer, its top node.
        Tree()->setFocus();
        QTest::keyClick(Tree(), Qt::Key_Home);
      })
      .Then([&] {
        after_top = Names();
        top_text = ControlGetText(kFolderTree);
        WindowDriver::Click(kQuitButton);
      });
  EXPECT_EQ(driver.Run(), 0);
  std::filesystem::current_path(was);
  EXPECT_EQ(listed, std::vector<std::string>{"pic.png"});
  EXPECT_EQ(top_text, u"");
  EXPECT_TRUE(after_top.empty()) << after_top.front();
  EXPECT_TRUE(driver.messages.empty());
}

}  // namespace
