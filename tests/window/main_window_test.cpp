// The window program end to end: real start-up, real FolderTree, real buttons.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

#include <cstdio>
#include <filesystem>

#include "fs/text_encoding.h"
#include "support/deep_folders.h"
#include "support/scene_expectations.h"
#include "support/temp_folder.h"
#include "support/test_images.h"
#include "ui/events.h"
#include "window_driver.h"

namespace {

QTreeWidget* FileList() { return qobject_cast<QTreeWidget*>(WindowDriver::Control(kFileList)); }

std::vector<std::pair<std::string, std::string>> FileRows() {
  std::vector<std::pair<std::string, std::string>> rows;
  for (int i = 0; i < FileList()->topLevelItemCount(); ++i)
    rows.push_back(
        {FileList()->topLevelItem(i)->text(0).toStdString(), FileList()->topLevelItem(i)->text(1).toStdString()});
  return rows;
}

std::u16string FolderText(const TempFolder& folder, const std::string& name) { return folder.Text(name) + u"/"; }

TEST(MainWindow, ProcessWritesTheSceneOfTheSelectedFolderAndLogsItsImages) {
  TempFolder folder;
  stdfs::create_directories(folder.Path("pics/trip/day2"));
  folder.Put("pics/a.png", EncodeTestPng(640, 480));
  folder.Put("pics/trip/b.jpg", EncodeTestJpeg(30, 20));
  folder.Put("pics/trip/day2/c.gif", EncodeTestGif(12, 34));
  folder.Put("pics/sky.hdr", "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 1 +X 1\n\x80\x80\x80\x80");
  folder.Put("pics/readme.txt", "text");
  folder.Put("pics/SHOUT.PNG", EncodeTestPng(2, 2));
  folder.Put("pics/long.jpeg", EncodeTestJpeg(2, 2));
  folder.Put("pics/png", EncodeTestPng(5, 6));
  // A folder no path can reach: left out, and counted.
  stdfs::create_directory(folder.Path("pics/deep"));
  MakeDeepFolders(folder.Path("pics/deep"), 17);

  std::vector<std::string> order;
  const std::string expected = Scene(ExpectedLines(
      folder.Path("pics"),
      {{"a.png", {640, 480}}, {"trip/b.jpg", {30, 20}}, {"trip/day2/c.gif", {12, 34}}, {"png", {5, 6}}}, &order));
  std::string first, second;
  std::vector<std::string> rows;
  WindowDriver driver;
  driver.Then([&] { WindowDriver::Select(FolderText(folder, "pics")); })
      .Then([] { WindowDriver::Click(kProcessButton); })
      .Then([&] { first = folder.Get("pics/image_scan.pov"); })
      .Then([] { WindowDriver::Click(kProcessButton); })
      .Then([&] {
        second = folder.Get("pics/image_scan.pov");
        rows = WindowDriver::LogRows();
        WindowDriver::Click(kQuitButton);
      });
  EXPECT_EQ(driver.Run(), 0);

  EXPECT_EQ(first, expected);
  EXPECT_EQ(second, first);
  std::vector<std::string> expected_rows = {"image list"};
  const std::string scene_path = folder.Path("pics/image_scan.pov").string();
  for (int run = 0; run < 2; ++run) {
    expected_rows.insert(expected_rows.end(), order.begin(), order.end());
    expected_rows.push_back(std::to_string(order.size()) + " images written to " + scene_path);
    expected_rows.push_back("Warning: 1 folder or file could not be read and was left out");
    expected_rows.push_back(
        "2 files skipped (SHOUT.PNG and long.jpeg): only names ending in png, jpg, gif or hdr (lower case) are "
        "scanned");
  }
  EXPECT_EQ(rows, expected_rows);
  EXPECT_TRUE(driver.messages.empty());

  // The batch program writes the very same bytes for the same folder, and says by its
  // status (3) that a folder was left out.
  const std::string command =
      std::string(IMAGESCAN_CLI) + " --quiet '" + folder.Path("pics").string() + "' 2>/dev/null";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 3);
  EXPECT_EQ(folder.Get("pics/image_scan.pov"), first);
  RemoveDeepFolders(folder.Path("pics/deep"), 17);
}

TEST(MainWindow, EmptyFoldersGetABareSceneAndBlockedOnesAMessageNamingTheFile) {
  TempFolder folder;
  stdfs::create_directory(folder.Path("empty"));
  stdfs::create_directories(folder.Path("blocked/image_scan.pov"));
  WindowDriver driver;
  driver.Then([&] { WindowDriver::Select(FolderText(folder, "empty")); })
      .Then([] { WindowDriver::Click(kProcessButton); })
      .Then([&] { EXPECT_TRUE(driver.messages.empty()); })
      .Then([&] { WindowDriver::Select(FolderText(folder, "blocked")); })
      .Then([] { WindowDriver::Click(kProcessButton); })
      .Then([] { WindowDriver::Click(kQuitButton); });
  EXPECT_EQ(driver.Run(), 0);
  EXPECT_EQ(folder.Get("empty/image_scan.pov"), Scene(""));
  ASSERT_EQ(driver.messages.size(), 1u);
  EXPECT_EQ(driver.messages[0].caption, u"imagescan");
  EXPECT_EQ(driver.messages[0].text,
            u"Cannot write " + FolderText(folder, "blocked") + u"image_scan.pov: Is a directory");
}

TEST(MainWindow, SelectingAFolderListsItsFilesAndADoubleClickNamesOne) {
  TempFolder folder;
  stdfs::create_directories(folder.Path("files/sub"));
  folder.Put("files/empty.bin", "");
  folder.Put("files/pic.png", std::string(1234, 'x'));
  std::vector<std::pair<std::string, std::string>> listed, after_top;
  WindowDriver driver;
  driver.Then([&] { WindowDriver::Select(FolderText(folder, "files")); })
      .Then([&] {
        listed = FileRows();
        // Double-click the row that shows pic.png.
        QTreeWidget* list = FileList();
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
          if (list->topLevelItem(i)->text(0) != "pic.png") continue;
          const QRect rect = list->visualItemRect(list->topLevelItem(i));
          QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
          QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        }
      })
      .Then([&] {
        // The computer node: nothing to list.
        auto* tree = qobject_cast<QTreeWidget*>(WindowDriver::Control(kFolderTree));
        tree->setCurrentItem(tree->topLevelItem(0));
      })
      .Then([&] {
        after_top = FileRows();
        WindowDriver::Click(kQuitButton);
      });
  EXPECT_EQ(driver.Run(), 0);
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, (std::vector<std::pair<std::string, std::string>>{{"empty.bin", "0"}, {"pic.png", "1234"}}));
  EXPECT_TRUE(after_top.empty());
  // The single click before the double-click shows nothing.
  ASSERT_EQ(driver.messages.size(), 1u);
  EXPECT_EQ(driver.messages.back().caption, u"File Selected");
  EXPECT_EQ(driver.messages.back().text, u"You double-clicked: pic.png");
}

TEST(MainWindow, TheCloseBoxEndsTheProgramWithZero) {
  WindowDriver driver;
  driver.Then([] { WindowHandle(kMainWindow)->close(); });
  EXPECT_EQ(driver.Run(), 0);
}

TEST(MainWindow, StartsWithEveryControlInPlace) {
  WindowDriver driver;
  QWidget* window = WindowHandle(kMainWindow);
  ASSERT_NE(window, nullptr);
  // Spelt so on purpose: the caption is the window's own, kept as users know it.
  EXPECT_EQ(window->windowTitle(), "SELECT DIRECTORTY TO SCAN FOR IMAGES");
  EXPECT_EQ(window->size(), QSize(600, 600));
  const auto geometry = [](int64_t number) { return WindowDriver::Control(number)->geometry(); };
  EXPECT_EQ(geometry(kFolderTree), QRect(10, 10, 200, 300));
  EXPECT_EQ(geometry(kFileList), QRect(220, 10, 300, 300));
  EXPECT_EQ(geometry(kProcessButton), QRect(10, 315, 100, 30));
  EXPECT_EQ(geometry(kQuitButton), QRect(310, 315, 100, 30));
  EXPECT_EQ(geometry(kRenderButton), QRect(120, 315, 100, 30));
  EXPECT_EQ(geometry(kImageLog), QRect(10, 350, 500, 200));
  EXPECT_EQ(qobject_cast<QPushButton*>(WindowDriver::Control(kProcessButton))->text(), " p r o c e s s ");
  EXPECT_EQ(qobject_cast<QPushButton*>(WindowDriver::Control(kQuitButton))->text(), " q u i t  ");
  // Alt+R presses it, as Ctrl+R does.
  EXPECT_EQ(qobject_cast<QPushButton*>(WindowDriver::Control(kRenderButton))->text(), " &r e n d e r ");
  EXPECT_EQ(FileList()->headerItem()->text(0), "Name");
  EXPECT_EQ(FileList()->headerItem()->text(1), "Size");
  EXPECT_EQ(FileList()->headerItem()->text(2), "Dimensions");
  // Size and Dimensions keep their widths and stay in sight; Name takes the rest of the
  // list's width.
  EXPECT_EQ(FileList()->header()->sectionSize(1), 100);
  EXPECT_EQ(FileList()->header()->sectionSize(2), 90);
  EXPECT_EQ(FileList()->header()->sectionSize(0) + 190, FileList()->viewport()->width());
  EXPECT_EQ(WindowDriver::LogRows(), std::vector<std::string>{"image list"});
  EXPECT_EQ(ControlGetText(kFolderTree), u"");

  // A picture of the window as it starts, for people to look at.
  QApplication::processEvents();
  EXPECT_TRUE(window->grab().save(QString::fromUtf8(IMAGESCAN_SCREENSHOT)));
  driver.Then([] { WindowDriver::Click(kQuitButton); });
  EXPECT_EQ(driver.Run(), 0);
}

// Names created, renamed and deleted from a shell, and a file that grows, show in the
// file list without F5; the rows that stay keep their order, the selection and the
// scroll position stay too.
TEST(MainWindow, TheFileListFollowsTheDiskKeepingItsOrderSelectionAndScroll) {
  TempFolder folder;
  stdfs::create_directory(folder.Path("files"));
  for (int i = 0; i < 100; ++i) folder.Put("files/f" + std::to_string(i) + ".txt", "x");
  std::vector<std::pair<std::string, std::string>> rows;
  QString selected, top;
  const auto changed = [] {
    const auto now = FileRows();
    return std::find(now.begin(), now.end(), std::pair<std::string, std::string>{"new.txt", "3"}) != now.end() &&
           std::find(now.begin(), now.end(), std::pair<std::string, std::string>{"f50.txt", "5"}) != now.end();
  };
  WindowDriver driver;
  driver.Then([&] { WindowDriver::Select(FolderText(folder, "files")); })
      .Then([&] {
        QTreeWidget* list = FileList();
        QTreeWidgetItem* row = list->findItems("f50.txt", Qt::MatchExactly).value(0);
        ASSERT_NE(row, nullptr);
        list->setCurrentItem(row);
        list->scrollToItem(row, QAbstractItemView::PositionAtTop);
        folder.Put("new.txt", "");  // beside the folder: not in the list
        folder.Put("files/new.txt", "abc");
        stdfs::rename(folder.Path("files/f10.txt"), folder.Path("files/g10.txt"));
        stdfs::remove(folder.Path("files/f20.txt"));
        folder.Put("files/f50.txt", "12345");
      })
      .When(changed, [&] {
        rows = FileRows();
        const QList<QTreeWidgetItem*> chosen = FileList()->selectedItems();
        selected = chosen.size() == 1 ? chosen[0]->text(0) : QString();
        const QTreeWidgetItem* first_shown = FileList()->itemAt(0, 0);
        top = first_shown ? first_shown->text(0) : QString();
        WindowDriver::Click(kQuitButton);
      });
  EXPECT_EQ(driver.Run(), 0);
  std::vector<std::pair<std::string, std::string>> expected;
  for (int i = 0; i < 100; ++i)
    if (i != 10 && i != 20) expected.push_back({"f" + std::to_string(i) + ".txt", i == 50 ? "5" : "1"});
  expected.push_back({"g10.txt", "1"});
  expected.push_back({"new.txt", "3"});
  EXPECT_EQ(rows, expected);  // in the order shown: as people read names
  EXPECT_EQ(selected, "f50.txt");
  // Rows went above it, yet the same row stands at the top.
  EXPECT_EQ(top, "f50.txt");
}

// The scene file a run writes, or replaces, shows in the file list with its size.
TEST(MainWindow, TheFileListShowsTheSceneFileAProcessRunWrote) {
  TempFolder folder;
  stdfs::create_directory(folder.Path("pics"));
  folder.Put("pics/a.png", EncodeTestPng(3, 2));
  folder.Put("pics/image_scan.pov", "old");
  std::vector<std::pair<std::string, std::string>> before, after;
  const std::string png_size = std::to_string(EncodeTestPng(3, 2).size());
  WindowDriver driver;
  driver.Then([&] { WindowDriver::Select(FolderText(folder, "pics")); })
      .Then([&] {
        before = FileRows();
        WindowDriver::Click(kProcessButton);
      })
      .Then([&] {
        after = FileRows();
        WindowDriver::Click(kQuitButton);
      });
  EXPECT_EQ(driver.Run(), 0);
  const std::string size = std::to_string(stdfs::file_size(folder.Path("pics/image_scan.pov")));
  EXPECT_NE(size, "3");
  EXPECT_EQ(before, (std::vector<std::pair<std::string, std::string>>{{"a.png", png_size}, {"image_scan.pov", "3"}}));
  EXPECT_EQ(after, (std::vector<std::pair<std::string, std::string>>{{"a.png", png_size}, {"image_scan.pov", size}}));
}

}  // namespace
