// Where the window opens: a folder named on its command line, else where the user was.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTreeWidget>
#include <QUrl>

#include <filesystem>
#include <string>
#include <vector>

#include "app/window/start_folder.h"
#include "fs/text_encoding.h"
#include "support/temp_folder.h"
#include "ui/controls.h"
#include "ui/qt/window_access.h"
#include "window_driver.h"

namespace {

std::vector<std::string> FileNames() {
  auto* list = qobject_cast<QTreeWidget*>(WindowDriver::Control(kFileList));
  std::vector<std::string> names;
  for (int i = 0; i < list->topLevelItemCount(); ++i) names.push_back(list->topLevelItem(i)->text(0).toStdString());
  return names;
}

std::string Bytes(const TempFolder& folder, const std::string& name) { return folder.Path(name).string(); }

}  // namespace

TEST(StartFolder, TheFolderNamedIsSelectedAndListedAndTheLastOneShownIsRemembered) {
  TempFolder folder;
  std::filesystem::create_directories(folder.Path("pics"));
  std::filesystem::create_directories(folder.Path("other"));
  folder.Put("pics/a.png", "x");
  folder.Put("other/b.png", "y");

  // Given as a relative path, and with a second folder that is passed over.
  std::filesystem::current_path(folder.Path(""));
  const StartFolder start = ChooseStartFolder({"pics", Bytes(folder, "other")});
  EXPECT_EQ(start.folder, folder.Text("pics") + u"/");
  EXPECT_TRUE(start.problem.empty());

  std::u16string selected;
  std::vector<std::string> listed;
  WindowDriver driver(start);
  driver
      .Then([&] {
        selected = ControlGetText(kFolderTree);
        listed = FileNames();
        WindowDriver::Select(folder.Text("other") + u"/");
      })
      .Then([] { WindowDriver::Click(kQuitButton); });
  EXPECT_EQ(driver.Run(), 0);
  EXPECT_EQ(selected, folder.Text("pics") + u"/");
  EXPECT_EQ(listed, std::vector<std::string>{"a.png"});
  EXPECT_TRUE(driver.messages.empty());

  // Without an argument the next start is where the user last was, until that is gone.
  EXPECT_EQ(ChooseStartFolder({}).folder, folder.Text("other") + u"/");
  std::filesystem::remove_all(folder.Path("other"));
  const StartFolder gone = ChooseStartFolder({});
  EXPECT_TRUE(gone.folder.empty());
  EXPECT_TRUE(gone.problem.empty());
  std::filesystem::current_path(std::filesystem::temp_directory_path());
}

TEST(StartFolder, APathThatIsNoFolderOpensAtTheTopWithAMessage) {
  TempFolder folder;
  folder.Put("file.png", "x");
  EXPECT_EQ(ChooseStartFolder({Bytes(folder, "missing")}).problem, folder.Text("missing") + u" does not exist");

  const StartFolder start = ChooseStartFolder({Bytes(folder, "file.png")});
  EXPECT_TRUE(start.folder.empty());
  std::u16string selected = u"unread";
  WindowDriver driver(start);
  driver.Then([&] {
    selected = ControlGetText(kFolderTree);
    WindowDriver::Click(kQuitButton);
  });
  EXPECT_EQ(driver.Run(), 0);
  EXPECT_TRUE(selected.empty());
  ASSERT_EQ(driver.messages.size(), 1u);
  EXPECT_EQ(driver.messages[0].caption, u"imagescan");
  EXPECT_EQ(driver.messages[0].text, folder.Text("file.png") + u" is not a folder");
}

// A folder dropped from a file manager onto the window is selected and listed; a drop of
// files alone is refused.
TEST(StartFolder, AFolderDroppedOntoTheWindowIsSelected) {
  TempFolder folder;
  std::filesystem::create_directories(folder.Path("dropped"));
  folder.Put("dropped/c.png", "z");
  folder.Put("loose.png", "x");
  const auto drag = [&](std::vector<std::string> names, QEvent::Type type) {
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& name : names)
      urls.push_back(QUrl::fromLocalFile(QString::fromStdString(folder.Path(name).string())));
    data.setUrls(urls);
    QWidget* window = WindowHandle(kMainWindow);
    if (type == QEvent::DragEnter) {
      QDragEnterEvent event(QPoint(300, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(window, &event);
      return event.isAccepted();
    }
    QDropEvent event(QPointF(300, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &event);
    return event.isAccepted();
  };
  bool files_taken = true, folder_taken = false;
  std::u16string selected;
  std::vector<std::string> listed;
  WindowDriver driver;
  driver
      .Then([&] {
        files_taken = drag({"loose.png"}, QEvent::DragEnter);
        folder_taken = drag({"loose.png", "dropped"}, QEvent::DragEnter);
        drag({"loose.png", "dropped"}, QEvent::Drop);
      })
      .Then([&] {
        selected = ControlGetText(kFolderTree);
        listed = FileNames();
        WindowDriver::Click(kQuitButton);
      });
  EXPECT_EQ(driver.Run(), 0);
  EXPECT_FALSE(files_taken);
  EXPECT_TRUE(folder_taken);
  EXPECT_EQ(selected, folder.Text("dropped") + u"/");
  EXPECT_EQ(listed, std::vector<std::string>{"c.png"});
}

// The folder opened at shows whole in the tree, also where it lands at the tree's
// bottom edge beside a name long enough to need the sideways scroll bar.
TEST(StartFolder, TheFolderOpenedAtShowsWholeInTheTree) {
  TempFolder folder;
  for (int i = 0; i < 40; ++i) std::filesystem::create_directories(folder.Path("many/f" + std::to_string(10 + i)));
  std::filesystem::create_directories(folder.Path("many/" + std::string(120, 'a')));
  QRect shown, viewport;
  WindowDriver driver(ChooseStartFolder({folder.Path("many/f49").string()}));
  driver.Then([&] {
    auto* tree = qobject_cast<QTreeWidget*>(WindowDriver::Control(kFolderTree));
    shown = tree->visualItemRect(tree->currentItem());
    viewport = tree->viewport()->rect();
    WindowDriver::Click(kQuitButton);
  });
  EXPECT_EQ(driver.Run(), 0);
  EXPECT_FALSE(shown.isEmpty());
  EXPECT_TRUE(viewport.contains(shown.topLeft()) && viewport.contains(shown.bottomLeft()))
      << "row " << shown.top() << " to " << shown.bottom() << " in a view " << viewport.height() << " high";
}
