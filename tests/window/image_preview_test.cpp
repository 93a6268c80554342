// The image preview as the user's keys reach it in the file list: Space opens and closes
// it, it follows the selection the arrows move, Escape and the close box close it.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QTreeWidget>

#include "support/temp_folder.h"
#include "support/test_images.h"
#include "ui/picture_window.h"
#include "ui/window_title.h"
#include "window_driver.h"

namespace {

QTreeWidget* FileList() { return qobject_cast<QTreeWidget*>(WindowDriver::Control(kFileList)); }

// A key in the list, in the active main window. (Qt's offscreen platform activates every
// window it shows; a window manager leaves the keys with the main window, as the
// preview asks.)
void Key(Qt::Key key) {
  QApplication::setActiveWindow(WindowHandle(kMainWindow));
  FileList()->setFocus();
  QTest::keyClick(FileList(), key);
}

void SelectRow(const QString& name) {
  const QList<QTreeWidgetItem*> found = FileList()->findItems(name, Qt::MatchExactly, 0);
  ASSERT_FALSE(found.isEmpty());
  QTest::mouseClick(FileList()->viewport(), Qt::LeftButton, {}, FileList()->visualItemRect(found.front()).center());
}

bool Open() { return WindowHandle(kPreviewWindow) != nullptr; }
bool Showing(const std::u16string& title) { return Open() && WindowTitle(kPreviewWindow) == title; }

TEST(ImagePreview, SpaceShowsTheSelectedImageWhichFollowsTheSelectionAndSpaceEscapeOrTheCloseBoxClose) {
  TempFolder folder;
  folder.Put("notes.txt", "no picture here");
  const Bytes icon = MakeIcon({{16, 16, 32, IconBitmap(16, 16, 32)}});
  folder.Put("icon.ico", std::string(icon.begin(), icon.end()));
  folder.Put("pic.png", EncodeTestPng(64, 48));
  folder.Put("tall.gif", EncodeTestGif(30, 300));
  std::vector<std::string> seen;  // what was wrong at each step, if anything
  const auto check = [&seen](bool holds, const char* what) {
    if (!holds) seen.push_back(what);
  };
  QSize pic_size, tall_size;
  std::u16string refusal = u"unread", icon_text = u"unread";
  bool to_the_end = false;
  WindowDriver driver;
  driver.Then([&] { WindowDriver::Select(folder.Text() + u"/"); })
      .Then([] { Key(Qt::Key_Space); })  // nothing selected: nothing to show
      .Then([&] { check(!Open(), "a preview without a selection"); })
      .Then([] { SelectRow("pic.png"); })
      .Then([] { Key(Qt::Key_Space); })
      .When([] { return Showing(u"pic.png"); },
            [&] {
              check(Showing(u"pic.png"), "pic.png shown");
              check(PictureWindowText(kPreviewWindow).empty(), "pic.png's picture");
              pic_size = WindowHandle(kPreviewWindow)->size();
              // Changed on disk, it is shown anew.
              folder.Put("pic.png", EncodeTestPng(64, 400));
            })
      .When([] { return Open() && WindowHandle(kPreviewWindow)->height() == 400; },
            [&] {
              check(Open() && WindowHandle(kPreviewWindow)->height() == 400, "pic.png shown anew once changed");
              // The keys stay with the list: the arrows move its selection.
              Key(Qt::Key_Down);
            })
      .When([] { return Showing(u"tall.gif"); },
            [&] {
              check(Showing(u"tall.gif"), "tall.gif shown after Down");
              tall_size = WindowHandle(kPreviewWindow)->size();
              Key(Qt::Key_Up);
              Key(Qt::Key_Up);
            })
      .When([] { return Showing(u"notes.txt"); },
            [&] {
              check(Showing(u"notes.txt"), "notes.txt shown after Up Up");
              refusal = PictureWindowText(kPreviewWindow);
              Key(Qt::Key_Up);
            })
      .When([] { return Showing(u"icon.ico"); },
            [&] {
              check(Showing(u"icon.ico"), "icon.ico shown after Up");
              icon_text = PictureWindowText(kPreviewWindow);
              Key(Qt::Key_Space);
            })
      .When([] { return !Open(); },
            [&] {
              check(!Open(), "closed by Space");
              Key(Qt::Key_Space);
            })
      .When([] { return Open(); },
            [&] {
              check(Showing(u"icon.ico"), "opened again by Space");
              Key(Qt::Key_Escape);
            })
      .When([] { return !Open(); },
            [&] {
              check(!Open(), "closed by Escape");
              Key(Qt::Key_Space);
            })
      .When([] { return Open(); },
            [] {
              // Given the keys after all (here Qt activates it), the preview closes by them too.
              if (QWidget* preview = WindowHandle(kPreviewWindow)) {
                QApplication::setActiveWindow(preview);
                QTest::keyClick(preview, Qt::Key_Escape);
              }
            })
      .When([] { return !Open(); },
            [&] {
              check(!Open(), "closed by Escape in the preview");
              Key(Qt::Key_Space);
            })
      .When([] { return Open(); },
            [] {
              if (QWidget* preview = WindowHandle(kPreviewWindow))
                QCoreApplication::postEvent(preview->windowHandle(), new QCloseEvent());
            })
      .When([] { return !Open(); },
            [&] {
              // Its close box closes the preview alone; the program goes on.
              check(!Open(), "closed by its close box");
              to_the_end = true;
              WindowDriver::Click(kQuitButton);
            });
  EXPECT_EQ(driver.Run(), 0);
  EXPECT_TRUE(to_the_end);
  EXPECT_TRUE(seen.empty()) << seen.front();
  EXPECT_EQ(refusal, u"cannot be read as an image");
  // An icon the loader reads, but keeps without a picture, is no refusal.
  EXPECT_EQ(icon_text, u"an icon of 16 x 16: not drawn here");
  // A small picture gets a window of modest size; a tall one its own height.
  EXPECT_EQ(pic_size, QSize(400, 150));
  EXPECT_EQ(tall_size, QSize(400, 300));
}

}  // namespace
