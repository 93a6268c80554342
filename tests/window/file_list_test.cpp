// The window's file list as the user's mouse and keys reach it: which inputs show the
// file message, and what the tree's top node lists.
#include <gtest/gtest.h>

#include <QTreeWidget>

#include <filesystem>
#include <string>
#include <vector>

#include <QHeaderView>

#include "app/window/folder_listing.h"
#include "support/temp_folder.h"
#include "support/test_images.h"
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

// Each row's name and dimensions, in the order shown.
std::vector<std::string> NamesAndDimensions() {
  std::vector<std::string> rows;
  for (int i = 0; i < FileList()->topLevelItemCount(); ++i)
    rows.push_back(FileList()->topLevelItem(i)->text(0).toStdString() + "=" +
                   FileList()->topLevelItem(i)->text(2).toStdString());
  return rows;
}

std::string DimensionsOf(const QString& name) {
  const QList<QTreeWidgetItem*> found = FileList()->findItems(name, Qt::MatchExactly, 0);
  return found.isEmpty() ? "(no row)" : found.front()->text(2).toStdString();
}

void ClickTitle(int column) {
  QHeaderView& header = *FileList()->header();
  QTest::mouseClick(
      header.viewport(), Qt::LeftButton, {},
      QPoint(header.sectionViewportPosition(column) + header.sectionSize(column) / 2, header.height() / 2));
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

TEST(FileList, ImagesShowTheirDimensionsSortedByPixelCountAndKeptAcrossRefreshes) {
  TempFolder folder;
  folder.Put("wide.png", EncodeTestPng(640, 10));   // 6400 pixels
  folder.Put("tall.jpg", EncodeTestJpeg(20, 400));  // 8000
  folder.Put("small.gif", EncodeTestGif(30, 30));   // 900
  folder.Put("broken.png", "no picture at all");
  folder.Put("notes.txt", "text");
  folder.Put("SHOUT.PNG", EncodeTestPng(5, 5));  // a name the scan passes over
  const auto measured = [] { return DimensionsOf("small.gif") == "30 x 30" && DimensionsOf("tall.jpg") == "20 x 400"; };
  std::vector<std::string> by_pixels, reversed, after_refresh, changed;
  std::string title, kept_at_once, selected;
  WindowDriver driver;
  driver.Then([&] { WindowDriver::Select(folder.Text() + u"/"); })
      .Then([] { FileList()->setCurrentItem(FileList()->findItems("wide.png", Qt::MatchExactly, 0).value(0)); })
      .When(measured,
            [&] {
              title = FileList()->headerItem()->text(2).toStdString();
              ClickTitle(2);
              by_pixels = NamesAndDimensions();
              ClickTitle(2);
              reversed = NamesAndDimensions();
              ClickTitle(0);
              // The folder read again as a change on disk has it: what was measured stays
              // without waiting for the measuring.
              folder.Put("new.png", EncodeTestPng(2, 3));
              folder.Put("small.gif", EncodeTestGif(40, 41));
              UpdateFolderFiles();
              kept_at_once = DimensionsOf("wide.png") + ", " + DimensionsOf("tall.jpg");
            })
      .When([] { return DimensionsOf("new.png") == "2 x 3" && DimensionsOf("small.gif") == "40 x 41"; },
            [&] {
              after_refresh = NamesAndDimensions();
              selected = ControlGetText(kFileList) == u"wide.png" ? "wide.png" : "something else";
              WindowDriver::Click(kQuitButton);
            });
  EXPECT_EQ(driver.Run(), 0);
  EXPECT_EQ(title, "Dimensions");
  // What the headers cannot measure, and what the scan does not read, sorts first.
  EXPECT_EQ(by_pixels, (std::vector<std::string>{"broken.png=", "notes.txt=", "SHOUT.PNG=", "small.gif=30 x 30",
                                                 "wide.png=640 x 10", "tall.jpg=20 x 400"}));
  EXPECT_EQ(reversed, (std::vector<std::string>{"tall.jpg=20 x 400", "wide.png=640 x 10", "small.gif=30 x 30",
                                                "SHOUT.PNG=", "notes.txt=", "broken.png="}));
  EXPECT_EQ(kept_at_once, "640 x 10, 20 x 400");
  EXPECT_EQ(after_refresh, (std::vector<std::string>{"broken.png=", "new.png=2 x 3", "notes.txt=", "SHOUT.PNG=",
                                                     "small.gif=40 x 41", "tall.jpg=20 x 400", "wide.png=640 x 10"}));
  EXPECT_EQ(selected, "wide.png");
}

}  // namespace
