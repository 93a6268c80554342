// The window as a desktop user meets it: placement on the screen, controls that follow
// the window's size, sorted lists, whole numbers, the keyboard.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QScreen>
#include <QTreeWidget>

#include <algorithm>
#include <filesystem>

#include "support/temp_folder.h"
#include "window_driver.h"

namespace {

QTreeWidget* Tree() { return qobject_cast<QTreeWidget*>(WindowDriver::Control(kFolderTree)); }
QTreeWidget* FileList() { return qobject_cast<QTreeWidget*>(WindowDriver::Control(kFileList)); }
QRect Geometry(int64_t number) { return WindowDriver::Control(number)->geometry(); }

std::vector<std::string> Column(int column) {
  std::vector<std::string> texts;
  for (int i = 0; i < FileList()->topLevelItemCount(); ++i)
    texts.push_back(FileList()->topLevelItem(i)->text(column).toStdString());
  return texts;
}

void SaveScreenshot(const char* name) {
  QApplication::processEvents();
  EXPECT_TRUE(WindowHandle(kMainWindow)->grab().save(QStringLiteral(IMAGESCAN_SCREENSHOTS "/") + name));
}

// Runs on every screen the tests are given (see tests/CMakeLists.txt).
TEST(MainWindowPlacement, TheWholeFrameIsOnTheScreenAndAtItsPlaceWhereThatFits) {
  WindowDriver driver;
  QWidget* window = WindowHandle(kMainWindow);
  const QRect area = window->screen()->availableGeometry();
  const QRect frame = window->frameGeometry();
  EXPECT_TRUE(area.contains(frame)) << area.width() << "x" << area.height();
  const QSize borders = frame.size() - window->size();
  const QRect asked(QPoint(800, 100), QSize(600, 600) + borders);
  if (area.contains(asked)) {
    EXPECT_EQ(frame, asked);
  } else {
    // Moved first: shrunk only where the screen is smaller than the window.
    EXPECT_EQ(window->size(), QSize(600, 600).boundedTo(area.size() - borders));
  }
  // Never smaller than designed, unless the screen is.
  EXPECT_EQ(window->minimumSize(), QSize(600, 600).boundedTo(area.size() - borders));
  SaveScreenshot(qPrintable(QStringLiteral("main-window-%1x%2.png").arg(area.width()).arg(area.height())));
  driver.Then([] { WindowDriver::Click(kQuitButton); });
  EXPECT_EQ(driver.Run(), 0);
}

TEST(MainWindow, ControlsFollowTheWindowsSizeAndComeBackToTheirPlaces) {
  WindowDriver driver;
  QWidget* window = WindowHandle(kMainWindow);
  const std::vector<int64_t> controls = {kFolderTree, kFileList, kProcessButton, kRenderButton, kQuitButton, kImageLog};
  std::vector<QRect> designed;
  for (const int64_t number : controls) designed.push_back(Geometry(number));

  window->resize(1200, 900);
  // The lists take the room; the buttons keep their places under the lists.
  EXPECT_GT(Geometry(kFolderTree).width(), 200);
  EXPECT_GT(Geometry(kFolderTree).height(), 300);
  EXPECT_GT(Geometry(kFileList).width(), 300);
  EXPECT_EQ(Geometry(kFileList).height(), Geometry(kFolderTree).height());
  EXPECT_EQ(Geometry(kFileList).left(), Geometry(kFolderTree).right() + 11);
  EXPECT_EQ(Geometry(kProcessButton).top(), Geometry(kFolderTree).bottom() + 6);
  EXPECT_EQ(Geometry(kQuitButton).top(), Geometry(kProcessButton).top());
  EXPECT_EQ(Geometry(kRenderButton).topLeft(), Geometry(kProcessButton).topRight() + QPoint(11, 0));
  EXPECT_EQ(Geometry(kQuitButton).left() - Geometry(kFileList).left(), 90);
  EXPECT_EQ(Geometry(kProcessButton).size(), QSize(100, 30));
  EXPECT_EQ(Geometry(kQuitButton).size(), QSize(100, 30));
  EXPECT_EQ(Geometry(kRenderButton).size(), QSize(100, 30));
  EXPECT_EQ(Geometry(kImageLog).top(), Geometry(kProcessButton).bottom() + 6);
  EXPECT_EQ(window->width() - Geometry(kImageLog).x() - Geometry(kImageLog).width(), 90);
  EXPECT_EQ(window->height() - Geometry(kImageLog).y() - Geometry(kImageLog).height(), 50);

  // Not smaller than designed; back at 600 x 600 everything stands where it was made.
  window->resize(300, 200);
  EXPECT_EQ(window->size(), QSize(600, 600));
  for (size_t i = 0; i < controls.size(); ++i) EXPECT_EQ(Geometry(controls[i]), designed[i]) << i;

  window->showMaximized();
  QApplication::processEvents();
  EXPECT_GT(Geometry(kImageLog).width(), 500);
  SaveScreenshot("main-window-maximised.png");
  driver.Then([] { WindowDriver::Click(kQuitButton); });
  EXPECT_EQ(driver.Run(), 0);
}

TEST(MainWindow, ListsAreSortedForPeopleAndSizesShowWhole) {
  TempFolder folder;
  for (const char* name : {"img10", "img2", "Img1", "b"}) std::filesystem::create_directories(folder.Path(name));
  for (const char* name : {"img10.png", "img2.png", "IMG3.png"}) folder.Put(name, std::string(5, 'x'));
  // A size of ten digits, without its bytes on disk.
  folder.Put("huge.bin", "");
  std::filesystem::resize_file(folder.Path("huge.bin"), 1234567890);

  std::vector<std::u16string> folders;
  std::vector<std::string> names;
  WindowDriver driver;
  driver.Then([&] { WindowDriver::Select(folder.Text() + u"/"); })
      .Then([&] {
        const QTreeWidgetItem* node = Tree()->currentItem();
        for (int i = 0; i < node->childCount(); ++i) folders.push_back(node->child(i)->text(0).toStdU16String());
        names = Column(0);
        // The size column: the whole number, right-aligned, in sight without scrolling.
        QTreeWidget* list = FileList();
        const QTreeWidgetItem* huge = list->findItems("huge.bin", Qt::MatchExactly).value(0);
        ASSERT_NE(huge, nullptr);
        EXPECT_EQ(huge->text(1), "1234567890");
        EXPECT_EQ(huge->textAlignment(1) & Qt::AlignRight, Qt::AlignRight);
        const int size_left = list->header()->sectionViewportPosition(1);
        const int size_width = list->header()->sectionSize(1);
        EXPECT_GE(size_width, list->fontMetrics().horizontalAdvance("1234567890"));
        EXPECT_GE(size_left, 0);
        EXPECT_LE(size_left + size_width, list->viewport()->width());
      })
      .Then([] { WindowDriver::Click(kQuitButton); });
  EXPECT_EQ(driver.Run(), 0);
  EXPECT_EQ(folders, (std::vector<std::u16string>{u"b", u"Img1", u"img2", u"img10", u"huge.bin", u"img2.png",
                                                  u"IMG3.png", u"img10.png"}));
  EXPECT_EQ(names, (std::vector<std::string>{"huge.bin", "img2.png", "IMG3.png", "img10.png"}));
}

TEST(MainWindow, KeyboardQuitsOpensRowsAndRefreshes) {
  TempFolder folder;
  folder.Put("pic.png", "x");
  std::vector<std::string> before_refresh, after_refresh;
  QString process_name, quit_name;
  bool tree_keeps_selection = false;
  WindowDriver driver;
  const auto has_new = [] {
    const std::vector<std::string> names = Column(0);
    return std::find(names.begin(), names.end(), "new.png") != names.end();
  };
  // Keys reach the window's shortcuts only while it is the active one: each step that
  // presses them waits for that.
  driver.Then([&] { WindowDriver::Select(folder.Text() + u"/"); })
      .When(WindowDriver::Active,
            [&] {
              // Enter on a selected row, as a double-click.
              FileList()->setFocus();
              FileList()->setCurrentItem(FileList()->topLevelItem(0));
              QTest::keyClick(FileList(), Qt::Key_Return);
            })
      .When(WindowDriver::Active,
            [&] {
              // The tree keeps showing the folder while the list has the focus.
              tree_keeps_selection = !Tree()->selectedItems().isEmpty() && !Tree()->hasFocus() &&
                                     Tree()->palette().color(QPalette::Inactive, QPalette::Highlight) !=
                                         Tree()->palette().color(QPalette::Inactive, QPalette::Base);
              before_refresh = Column(0);
              folder.Put("new.png", "xy");
              QTest::keyClick(FileList(), Qt::Key_F5);
            })
      .When(has_new,
            [&] {
              after_refresh = Column(0);
              process_name = WindowDriver::Control(kProcessButton)->accessibleName();
              quit_name = WindowDriver::Control(kQuitButton)->accessibleName();
              // The window is the active one again, as after the user's click into it.
              WindowHandle(kMainWindow)->activateWindow();
            })
      .When(WindowDriver::Active,
            [] { QTest::keyClick(WindowDriver::Control(kImageLog), Qt::Key_Q, Qt::ControlModifier); });
  EXPECT_EQ(driver.Run(), 0);
  ASSERT_EQ(driver.messages.size(), 1u);
  EXPECT_EQ(driver.messages[0].text, u"You double-clicked: pic.png");
  EXPECT_TRUE(tree_keeps_selection);
  EXPECT_EQ(before_refresh, std::vector<std::string>{"pic.png"});
  EXPECT_EQ(after_refresh, (std::vector<std::string>{"new.png", "pic.png"}));
  EXPECT_EQ(process_name, "process");
  EXPECT_EQ(quit_name, "quit");
}

}  // namespace
