#include "ui/picture_window.h"

#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include "tests/ui/event_drain.h"
#include "tests/ui/test_pictures.h"
#include "ui/events.h"
#include "ui/qt/window_access.h"
#include "ui/top_level_windows.h"
#include "ui/window_title.h"

namespace {

constexpr uint32_t kFlags = kWindowCaption | kWindowSystemMenu | kWindowSizingBorder;
constexpr int64_t kPicture = 3;
const QColor kGrey(0x60, 0x60, 0x60);

std::optional<Bitmap> Picture(int32_t width, int32_t height, QColor colour) {
  return SolidPicture(
      width, height,
      {static_cast<uint8_t>(colour.red()), static_cast<uint8_t>(colour.green()), static_cast<uint8_t>(colour.blue())});
}

QImage Shot(int64_t number) {
  DrainEvents();
  return WindowHandle(number)->grab().toImage();
}

// The rectangle of pixels that are not the background grey.
QRect PictureArea(const QImage& shot) {
  QRect area;
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < shot.width(); ++x)
      if (shot.pixelColor(x, y) != kGrey) area |= QRect(x, y, 1, 1);
  return area;
}

struct PictureWindowTest : ::testing::Test {
  void TearDown() override {
    WindowCloseAll();
    DrainEvents();
  }
};

TEST_F(PictureWindowTest, ShowsThePictureWholeWithinItsShareOfTheScreenAndShrinksWithTheWindow) {
  const QSize work = QGuiApplication::primaryScreen()->availableGeometry().size();
  ASSERT_NE(PictureWindowOpen(kPicture, u"wide.png", Picture(4000, 1000, Qt::blue), u"", 0.5, kFlags), 0);
  QWidget* window = WindowHandle(kPicture);
  EXPECT_EQ(WindowTitle(kPicture), u"wide.png");
  EXPECT_TRUE(PictureWindowText(kPicture).empty());
  // Half the screen's width, the height in the picture's proportion.
  EXPECT_EQ(window->size(), QSize(work.width() / 2, work.width() / 8));
  QImage shot = Shot(kPicture);
  EXPECT_EQ(PictureArea(shot), shot.rect());
  EXPECT_EQ(shot.pixelColor(shot.width() / 2, shot.height() / 2), QColor(Qt::blue));
  // Upright: the red top row shows (blended into the row it shrinks into) at the top.
  EXPECT_GT(shot.pixelColor(shot.width() / 2, 0).red(), 30);
  EXPECT_EQ(shot.pixelColor(shot.width() / 2, shot.height() - 1), QColor(Qt::blue));

  // Made taller, the picture stays as wide and is centred; made narrower, it shrinks.
  window->resize(window->width(), window->height() * 3);
  shot = Shot(kPicture);
  QRect area = PictureArea(shot);
  EXPECT_EQ(area.width(), shot.width());
  EXPECT_NEAR(area.height(), shot.width() / 4, 1);
  EXPECT_NEAR(area.center().y(), shot.height() / 2, 1);
  window->resize(200, 400);
  area = PictureArea(Shot(kPicture));
  EXPECT_EQ(area.size(), QSize(200, 50));
  // Nothing is made of the close box but an event: the window stays until closed.
  QCoreApplication::postEvent(window->windowHandle(), new QCloseEvent());
  bool closing = false;
  for (int i = 0; i < 20 && !closing; ++i) closing = EventWait(kSettleMs) == CloseEvent && EventControl() == kPicture;
  EXPECT_TRUE(closing);
  EXPECT_EQ(WindowHandle(kPicture), window);
}

TEST_F(PictureWindowTest, ASmallPictureIsNeverEnlargedAndATextTakesItsPlace) {
  ASSERT_NE(PictureWindowOpen(kPicture, u"small.gif", Picture(40, 20, Qt::green), u"", 0.5, kFlags), 0);
  QWidget* window = WindowHandle(kPicture);
  // Its own size, with grey around it in a window no smaller than a text's.
  EXPECT_EQ(window->size(), QSize(400, 150));
  EXPECT_EQ(PictureArea(Shot(kPicture)), QRect(180, 65, 40, 20));
  window->resize(400, 300);
  QRect area = PictureArea(Shot(kPicture));
  EXPECT_EQ(area, QRect(180, 140, 40, 20));

  // Another picture, then a text: the title follows, and the window takes each one's size.
  ASSERT_TRUE(PictureWindowShow(kPicture, u"tall.jpg", Picture(100, 300, Qt::green), u""));
  EXPECT_EQ(WindowTitle(kPicture), u"tall.jpg");
  EXPECT_EQ(window->size(), QSize(400, 300));
  ASSERT_TRUE(PictureWindowShow(kPicture, u"notes.txt", std::nullopt, u"cannot be read as an image"));
  EXPECT_EQ(WindowTitle(kPicture), u"notes.txt");
  EXPECT_EQ(PictureWindowText(kPicture), u"cannot be read as an image");
  EXPECT_EQ(window->size(), QSize(400, 150));
  const QImage shot = Shot(kPicture);
  EXPECT_FALSE(PictureArea(shot).isEmpty());  // the text's letters
  EXPECT_EQ(shot.pixelColor(0, 0), kGrey);
  EXPECT_NE(shot.pixelColor(shot.width() / 2, shot.height() / 2), QColor(Qt::green));

  // A window that is no picture window shows nothing.
  ASSERT_NE(WindowCreate(4, 0, 0, 100, 100, u"plain", kFlags), 0);
  EXPECT_FALSE(PictureWindowShow(4, u"x", std::nullopt, u"text"));
  EXPECT_TRUE(PictureWindowText(4).empty());
  EXPECT_EQ(WindowTitle(4), u"plain");
}

// (Qt's offscreen platform activates every window it shows, so that the focus staying
// with the owner can only be seen on a real display.)
TEST_F(PictureWindowTest, AWindowThatTakesNoFocusIsMarkedSoAndGoesWithItsOwner) {
  ASSERT_NE(WindowCreate(0, 0, 0, 300, 300, u"owner", kFlags), 0);
  ASSERT_NE(PictureWindowOpen(kPicture, u"pic", Picture(50, 50, Qt::blue), u"", 0.5, kFlags | kWindowNoActivate, 0), 0);
  QWidget* window = WindowHandle(kPicture);
  DrainEvents();
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->windowFlags() & Qt::WindowDoesNotAcceptFocus);
  // It goes with its owner.
  WindowClose(0);
  EXPECT_EQ(WindowHandle(kPicture), nullptr);
}

}  // namespace
