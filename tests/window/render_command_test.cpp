// The render button in the window, with the stand-in POV-Ray (support/povray_standin.cpp)
// found on PATH: the picture shown in a window of its own, a missing POV-Ray explained,
// a failure keeping the old picture, Escape ending the render; and the picture window
// fitted to the screen.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <filesystem>
#include <string>

#include "app/scene/scene_format.h"
#include "support/temp_folder.h"
#include "support/test_images.h"
#include "ui/qt/window_access.h"
#include "window_driver.h"

namespace {

namespace stdfs = std::filesystem;

// A folder with an image, and PATH leading to the stand-in as "povray" in a folder whose
// name says what it does (none: no POV-Ray at all). PATH is as it was afterwards.
class RenderSetup {
 public:
  explicit RenderSetup(const std::string& kind) : path_(getenv("PATH") ? getenv("PATH") : "") {
    folder.Put("a.png", EncodeTestPng(8, 4));
    stdfs::create_directory(tools.Path(kind));
    if (!kind.empty()) stdfs::copy_file(IMAGESCAN_POVRAY_STANDIN, tools.Path(kind) / "povray");
    setenv("PATH", tools.Path(kind).c_str(), 1);
  }
  ~RenderSetup() { setenv("PATH", path_.c_str(), 1); }
  RenderSetup(const RenderSetup&) = delete;
  RenderSetup& operator=(const RenderSetup&) = delete;

  std::u16string Folder() const { return folder.Text() + u"/"; }
  std::string Picture() const { return folder.Path("image_scan.png").string(); }

  TempFolder folder, tools;

 private:
  std::string path_;
};

bool Contains(const std::vector<std::string>& rows, const std::string& row) {
  return std::find(rows.begin(), rows.end(), row) != rows.end();
}

TEST(RenderCommand, RendersTheSelectedFolderAndShowsThePictureInAWindowOfItsOwn) {
  RenderSetup setup("povray37-render");
  WindowDriver driver;
  std::vector<std::string> rows;
  QString picture_title;
  bool went_on = false;
  driver.Then([&] { WindowDriver::Select(setup.Folder()); })
      .Then([] { WindowDriver::Click(kRenderButton); })
      .When([] { return WindowHandle(kRenderedWindow) != nullptr; },
            [&] {
              rows = WindowDriver::LogRows();
              picture_title = WindowHandle(kRenderedWindow)->windowTitle();
              // Its close box closes it alone.
              WindowHandle(kRenderedWindow)->close();
            })
      .When([] { return WindowHandle(kRenderedWindow) == nullptr; },
            [&] {
              went_on = true;
              WindowDriver::Click(kQuitButton);
            });
  EXPECT_EQ(driver.Run(), 0);
  EXPECT_TRUE(went_on) << "closing the picture ended the program";
  EXPECT_EQ(picture_title.toStdString(), setup.Picture());
  // The scene POV-Ray 3.7 reads, as none was chosen.
  EXPECT_TRUE(setup.folder.Get("image_scan.pov").starts_with(kSceneHeader37));
  EXPECT_TRUE(setup.folder.Get("image_scan.png").starts_with("\x89PNG"));
  EXPECT_TRUE(Contains(rows, "Rendering " + setup.Picture() + " (1280 x 720)"));
  EXPECT_TRUE(Contains(rows, "100% rendered"));
  EXPECT_TRUE(Contains(rows, "Rendered " + setup.Picture()));
  EXPECT_TRUE(driver.messages.empty());
}

TEST(RenderCommand, SaysWhyWithoutPovRayOrWhenItFailsAndKeepsThePreviousPicture) {
  RenderSetup missing("");
  WindowDriver without;
  without.Then([&] { WindowDriver::Select(missing.Folder()); })
      .Then([] { QTest::keyClick(WindowHandle(kMainWindow), Qt::Key_R, Qt::ControlModifier); })
      .Then([] { WindowDriver::Click(kQuitButton); });
  EXPECT_EQ(without.Run(), 0);
  ASSERT_EQ(without.messages.size(), 1u);
  EXPECT_EQ(without.messages[0].text,
            u"Cannot render: no povray found on PATH (Debian: apt install povray povray-includes)");
  EXPECT_FALSE(stdfs::exists(missing.folder.Path("image_scan.pov")));

  RenderSetup failing("povray37-fail");
  failing.folder.Put("image_scan.png", "the picture of an earlier run");
  WindowDriver driver;
  std::vector<std::string> rows;
  driver.Then([&] { WindowDriver::Select(failing.Folder()); })
      .Then([] { WindowDriver::Click(kRenderButton); })
      .Then([&] {
        rows = WindowDriver::LogRows();
        WindowDriver::Click(kQuitButton);
      });
  EXPECT_EQ(driver.Run(), 0);
  EXPECT_EQ(failing.folder.Get("image_scan.png"), "the picture of an earlier run");
  const std::string failure = "Cannot render " + failing.Picture() + ": POV-Ray failed (exit status 1)";
  EXPECT_TRUE(Contains(rows, failure));
  EXPECT_TRUE(Contains(rows, "POV-Ray: File 'image_scan.pov' line 15: Parse Error: An array declaration must have at"));
  ASSERT_EQ(driver.messages.size(), 1u);
  EXPECT_TRUE(QString::fromStdU16String(driver.messages[0].text).startsWith(QString::fromStdString(failure + "\n")));
  EXPECT_EQ(WindowHandle(kRenderedWindow), nullptr);
}

TEST(RenderCommand, EscapeEndsTheRenderAndKeepsThePreviousPicture) {
  RenderSetup setup("povray37-hang");
  setup.folder.Put("image_scan.png", "the picture of an earlier run");
  // Once POV-Ray waits, under the busy cursor: Escape.
  QTimer escape;
  escape.setInterval(5);
  QObject::connect(&escape, &QTimer::timeout, [&] {
    if (!QGuiApplication::overrideCursor() ||
        setup.tools.Get("povray37-hang/povray.log").find("started") == std::string::npos) {
      return;
    }
    QTest::keyClick(WindowHandle(kMainWindow), Qt::Key_Escape);
    escape.stop();
  });
  escape.start();
  WindowDriver driver;
  std::vector<std::string> rows;
  driver.Then([&] { WindowDriver::Select(setup.Folder()); }).Then([] { WindowDriver::Click(kRenderButton); }).Then([&] {
    rows = WindowDriver::LogRows();
    WindowDriver::Click(kQuitButton);
  });
  EXPECT_EQ(driver.Run(), 0);
  EXPECT_EQ(setup.folder.Get("image_scan.png"), "the picture of an earlier run");
  EXPECT_TRUE(Contains(rows, "Render cancelled: the previous " + setup.Picture() + " is kept"));
  EXPECT_TRUE(driver.messages.empty());
  for (const auto& entry : stdfs::directory_iterator(setup.folder.Path(""))) {
    EXPECT_FALSE(entry.path().filename().string().starts_with(".image_scan.png.")) << entry.path();
  }
}

// Run on screens of several sizes (see tests/CMakeLists.txt).
TEST(MainWindowPlacement, TheRenderedPictureIsFittedToTheScreen) {
  RenderSetup setup("povray37-render");
  WindowDriver driver;
  QSize shown;
  QRect frame, area;
  driver.Then([&] { WindowDriver::Select(setup.Folder()); })
      .Then([] { WindowDriver::Click(kRenderButton); })
      .When([] { return WindowHandle(kRenderedWindow) != nullptr; },
            [&] {
              QWidget* window = WindowHandle(kRenderedWindow);
              shown = window->size();
              frame = window->frameGeometry();
              area = window->screen()->availableGeometry();
              WindowDriver::Click(kQuitButton);
            });
  EXPECT_EQ(driver.Run(), 0);
  if (area.width() * 0.9 >= 1280 && area.height() * 0.9 >= 720) {
    EXPECT_EQ(shown, QSize(1280, 720));  // never enlarged
  } else {
    EXPECT_LE(shown.width(), area.width() * 0.9);
    EXPECT_LE(shown.height(), area.height() * 0.9);
    EXPECT_NEAR(shown.width() * 720.0 / 1280.0, shown.height(), 1.0);
  }
  EXPECT_TRUE(area.contains(frame)) << area.width() << "x" << area.height();
}

}  // namespace
