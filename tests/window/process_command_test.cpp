// The process button in the window: alive during long scans, the three ways out, the
// summary rows and the message for a scene that cannot be written.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QListWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>

#include <chrono>
#include <filesystem>
#include <thread>

#include "app/window/window_process.h"
#include "support/temp_folder.h"
#include "support/test_images.h"
#include "ui/qt/window_access.h"
#include "window_driver.h"

extern char** environ;

namespace {

namespace stdfs = std::filesystem;

QListWidget* ImageLog() { return qobject_cast<QListWidget*>(WindowDriver::Control(kImageLog)); }

// Enough small images that their scan lasts several of the window's refreshes. A test
// that needs more (a machine busy elsewhere scans as fast, yet refreshes less) runs
// again with four times as many, up to kMostImages.
constexpr int kManyImages = 3000;
constexpr int kMostImages = 48000;

// Images small on disk but with enough pixels to take a while each, for scans that
// should last a while however fast the build measures.
void PutImages(const TempFolder& folder, const std::string& sub, int count) {
  stdfs::create_directories(folder.Path(sub));
  const std::string png = EncodeTestPng(256, 256);
  for (int i = 0; i < count; ++i) folder.Put(sub + "/image-with-a-long-name-" + std::to_string(i) + ".png", png);
}

size_t EntryCount(const stdfs::path& folder) {
  return static_cast<size_t>(std::distance(stdfs::directory_iterator(folder), {}));
}

// Acts from inside the scan: each tick of a timer that only the scan's refreshes deliver
// (the busy cursor shows) calls `tick` with its count, until it answers false.
class DuringScan {
 public:
  explicit DuringScan(std::function<bool(int)> tick) : tick_(std::move(tick)) {
    timer_.setInterval(0);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (!QGuiApplication::overrideCursor()) return;
      if (!tick_(++ticks_)) timer_.stop();
    });
    timer_.start();
  }

 private:
  QTimer timer_;
  std::function<bool(int)> tick_;
  int ticks_ = 0;
};

std::string ScreenshotPath(const std::string& name) {
  return QFileInfo(QString::fromUtf8(IMAGESCAN_SCREENSHOT)).dir().filePath(QString::fromStdString(name)).toStdString();
}

TEST(ProcessCommand, TheListGrowsDuringAScanAndEscapeCancelsItKeepingTheOldScene) {
  TempFolder folder;
  int images = kManyImages;
  PutImages(folder, "pics", images);
  folder.Put("pics/image_scan.pov", "the earlier scene");
  std::vector<int> rows_seen;
  std::vector<QImage> shots;
  bool busy_cursor = true, last_row_shown = true, scene_named = true;
  std::vector<std::string> rows;
  std::vector<QString> titles;
  WindowDriver driver;
  const QString title = WindowHandle(kMainWindow)->windowTitle();
  DuringScan during([&](int) {
    QListWidget* log = ImageLog();
    // One refresh may run the timer more than once; count refreshes that showed new rows.
    if (!rows_seen.empty() && log->count() == rows_seen.back()) return true;
    rows_seen.push_back(log->count());
    titles.push_back(WindowHandle(kMainWindow)->windowTitle());
    busy_cursor = busy_cursor && QGuiApplication::overrideCursor()->shape() == Qt::BusyCursor;
    last_row_shown =
        last_row_shown && log->viewport()->rect().intersects(log->visualItemRect(log->item(log->count() - 1)));
    // What a failure ending the program now would name as left as it was.
    scene_named = scene_named && SceneBeingWritten() == folder.Text("pics") + u"/image_scan.pov";
    shots.push_back(WindowHandle(kMainWindow)->grab().toImage());
    if (rows_seen.size() < 3) return true;
    QTest::keyClick(WindowHandle(kMainWindow), Qt::Key_Escape);
    return false;
  });
  QString title_after;
  EXPECT_EQ(ProcessThenQuit(driver, folder.Text("pics") + u"/", &rows, nullptr, &title_after), 0);
  // A scan over before three refreshes is no fault of the window; a longer one is needed.
  while (rows_seen.size() < 3 && images < kMostImages) {
    images *= 4;
    PutImages(folder, "pics", images);
    folder.Put("pics/image_scan.pov", "the earlier scene");  // the short scan replaced it
    rows_seen.clear();
    shots.clear();
    titles.clear();
    WindowDriver again;
    EXPECT_EQ(ProcessThenQuit(again, folder.Text("pics") + u"/", &rows, nullptr, &title_after), 0);
  }

  ASSERT_EQ(rows_seen.size(), 3u);
  // The title counts the images listed so far (the list's first row is its own), and is
  // itself again once the scan is over.
  for (size_t i = 0; i < titles.size(); ++i) {
    const int listed = rows_seen[i] - 1;
    const QString count = QString::fromUtf8(" \u2013 %1 %2").arg(listed).arg(listed == 1 ? "image" : "images");
    EXPECT_EQ(titles[i].toStdString(), (title + count).toStdString());
  }
  EXPECT_EQ(title_after.toStdString(), title.toStdString());
  EXPECT_LT(rows_seen[0], rows_seen[1]);
  EXPECT_LT(rows_seen[1], rows_seen[2]);
  EXPECT_TRUE(busy_cursor);
  EXPECT_TRUE(last_row_shown);
  EXPECT_TRUE(scene_named);
  EXPECT_TRUE(SceneBeingWritten().empty());
  EXPECT_NE(shots[0], shots[2]);  // the list moved on screen
  for (size_t i = 0; i < shots.size(); ++i)
    shots[i].save(QString::fromStdString(ScreenshotPath("scan-" + std::to_string(i) + ".png")));

  ASSERT_FALSE(rows.empty());
  EXPECT_LT(rows.size(), static_cast<size_t>(images));
  EXPECT_EQ(rows.back(), "Scan cancelled: the previous " + folder.Path("pics/image_scan.pov").string() + " is kept");
  EXPECT_TRUE(folder.Get("pics/image_scan.pov") == "the earlier scene");
  EXPECT_EQ(EntryCount(folder.Path("pics")), images + 1u);  // no temporary file left
  EXPECT_TRUE(driver.messages.empty());
}

TEST(ProcessCommand, InputDuringAScanWaitsForItsEndAndIsActedOnOnceWhilePressesOfProcessAreDropped) {
  TempFolder folder;
  stdfs::create_directory(folder.Path("pics"));
  // By size the small file comes first, by name the large one.
  folder.Put("pics/a-large.txt", std::string(5000, 'x'));
  folder.Put("pics/z-small.txt", "x");
  const std::string scene = folder.Path("pics/image_scan.pov").string();
  const std::string cancelled = "Scan cancelled: " + scene + " was not written";
  std::vector<std::string> rows, rows_later;
  std::string first_file;
  // A scan over before the second refresh is no fault of the window; a longer one is needed.
  for (int images = kManyImages; images <= kMostImages; images *= 4) {
    PutImages(folder, "pics", images);
    stdfs::remove(folder.Path("pics/image_scan.pov"));  // a scan too short to cancel wrote one
    WindowDriver driver;
    DuringScan during([&](int tick) {
      QWidget* window = WindowHandle(kMainWindow);
      // Through the window system, as real input arrives: held back.
      const auto click = [&](QWidget* widget, QPoint at) {
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, widget->mapTo(window, at));
      };
      if (tick == 1) {
        // Process, by the mouse and by the keyboard: dropped.
        click(WindowDriver::Control(kProcessButton), WindowDriver::Control(kProcessButton)->rect().center());
        WindowDriver::Control(kProcessButton)->setFocus();
        QTest::keyClick(window->windowHandle(), Qt::Key_Space);
        QTest::keyClick(window->windowHandle(), Qt::Key_Return);
        // The file list's Size title: held, then sorts once.
        QHeaderView* header = qobject_cast<QTreeWidget*>(WindowDriver::Control(kFileList))->header();
        click(header, QPoint(header->sectionViewportPosition(1) + header->sectionSize(1) / 2, header->height() / 2));
        return true;
      }
      QTest::keyClick(window, Qt::Key_Escape);
      return false;
    });
    const auto sorted_by_size = [] {
      auto* list = qobject_cast<QTreeWidget*>(WindowDriver::Control(kFileList));
      return list->topLevelItemCount() > 0 && list->topLevelItem(0)->text(0) == "z-small.txt";
    };
    driver.Then([&] { WindowDriver::Select(folder.Text("pics") + u"/"); })
        .Then([] { WindowDriver::Click(kProcessButton); })
        .When(sorted_by_size,
              [&] {
                auto* list = qobject_cast<QTreeWidget*>(WindowDriver::Control(kFileList));
                first_file = list->topLevelItem(0)->text(0).toStdString();
                rows = WindowDriver::LogRows();
              })
        .Then([] {})  // a second run, were one queued, would run here
        .Then([&] {
          rows_later = WindowDriver::LogRows();
          WindowDriver::Click(kQuitButton);
        });
    EXPECT_EQ(driver.Run(), 0);
    if (std::count(rows.begin(), rows.end(), cancelled) > 0) break;
  }

  EXPECT_EQ(std::count(rows.begin(), rows.end(), cancelled), 1);
  EXPECT_EQ(std::count_if(rows.begin(), rows.end(),
                          [](const std::string& row) { return row.find("written to") != std::string::npos; }),
            0);
  EXPECT_EQ(rows_later, rows);  // nothing more came than the held input
  EXPECT_FALSE(stdfs::exists(folder.Path("pics/image_scan.pov")));
  EXPECT_EQ(first_file, "z-small.txt");
}

TEST(ProcessCommand, AFileSelectedInTheTreeIsNoFolderToProcess) {
  TempFolder folder;
  folder.Put("notes_file.txt", "notes");
  WindowDriver driver;
  driver.Then([&] { WindowDriver::Select(folder.Text() + u"/"); })
      .Then([] {
        // The tree shows the folder's files as well: the file's own node.
        auto* tree = qobject_cast<QTreeWidget*>(WindowDriver::Control(kFolderTree));
        QTreeWidgetItem* folder_node = tree->currentItem();
        folder_node->setExpanded(true);
        for (int i = 0; i < folder_node->childCount(); ++i)
          if (folder_node->child(i)->text(0) == "notes_file.txt") tree->setCurrentItem(folder_node->child(i));
      })
      .Then([] { WindowDriver::Click(kProcessButton); })
      .Then([] { WindowDriver::Click(kQuitButton); });
  EXPECT_EQ(driver.Run(), 0);
  ASSERT_EQ(driver.messages.size(), 1u);
  EXPECT_EQ(driver.messages[0].caption, u"imagescan");
  EXPECT_EQ(driver.messages[0].text, folder.Text("notes_file.txt") + u" is not a folder: select a folder to process");
  EXPECT_EQ(EntryCount(folder.Path("")), 1u);  // nothing written beside it
}

TEST(ProcessCommand, TheQuitButtonCtrlQAndTheCloseBoxCancelTheScanAndEndTheProgram) {
  enum WayOut { kQuitClick, kCtrlQ, kCloseBox };
  for (const WayOut way_out : {kQuitClick, kCtrlQ, kCloseBox}) {
    TempFolder folder;
    bool taken_during_scan = false;
    // A scan over before the way out could be taken proves nothing; a longer one is needed.
    for (int images = kManyImages; !taken_during_scan && images <= kMostImages; images *= 4) {
      PutImages(folder, "pics", images);
      folder.Put("pics/image_scan.pov", "the earlier scene");
      WindowDriver driver;
      DuringScan during([&](int) {
        taken_during_scan = true;
        QWidget* window = WindowHandle(kMainWindow);
        if (way_out == kCloseBox) window->close();
        if (way_out == kCtrlQ) QTest::keyClick(window, Qt::Key_Q, Qt::ControlModifier);
        if (way_out == kQuitClick) {
          // Through the window system, as a real click arrives.
          const QPoint centre = WindowDriver::Control(kQuitButton)->geometry().center();
          QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, centre);
        }
        return false;
      });
      driver.Then([&] { WindowDriver::Select(folder.Text("pics") + u"/"); })
          .Then([] { WindowDriver::Click(kProcessButton); })
          .Then([] { WindowDriver::Click(kQuitButton); });  // reached only when the scan ended first
      EXPECT_EQ(driver.Run(), 0) << way_out;
      if (!taken_during_scan) continue;
      EXPECT_TRUE(folder.Get("pics/image_scan.pov") == "the earlier scene") << way_out;
      EXPECT_EQ(EntryCount(folder.Path("pics")), images + 1u) << way_out;
    }
    EXPECT_TRUE(taken_during_scan) << way_out;
  }
}

TEST(ProcessCommand, SummaryRowsCountTheImagesWarnAboutTheTableAndHintAtSkippedNames) {
  TempFolder folder;
  stdfs::create_directory(folder.Path("many"));
  for (int i = 0; i < 2001; ++i) folder.Put("many/i" + std::to_string(i) + ".png", "");
  folder.Put("many/IMG_0001.JPG", "");
  std::vector<std::string> rows;
  WindowDriver driver;
  QImage shot;
  EXPECT_EQ(ProcessThenQuit(driver, folder.Text("many") + u"/", &rows, &shot), 0);
  shot.save(QString::fromStdString(ScreenshotPath("summary.png")));
  const std::string scene = folder.Path("many/image_scan.pov").string();
  ASSERT_GE(rows.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(rows.end() - 3, rows.end()),
            (std::vector<std::string>{
                "2001 images written to " + scene,
                "Warning: " + scene + " lists 2001 images; the scene's table holds 2000 rows",
                "1 file skipped (IMG_0001.JPG): only names ending in png, jpg, gif or hdr (lower case) are scanned"}));
}

// Starts the window program's test run (support/process_in_window.cpp) with the
// environment given; its output goes to `output`.
pid_t StartChild(const std::vector<std::string>& settings, const std::string& output) {
  std::vector<std::string> environment = settings;
  for (char** entry = environ; *entry; ++entry) environment.emplace_back(*entry);
  std::vector<char*> env;
  for (std::string& entry : environment) env.push_back(entry.data());
  env.push_back(nullptr);
  std::string program = IMAGESCAN_PROCESS_IN_WINDOW;
  char* argv[] = {program.data(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t child = -1;
  if (posix_spawn(&child, program.c_str(), &actions, nullptr, argv, env.data()) != 0) child = -1;
  posix_spawn_file_actions_destroy(&actions);
  return child;
}

int WaitFor(pid_t child) {
  int status = 0;
  waitpid(child, &status, 0);
  return status;
}

// The temporary files beside the scene: every name that is neither an image nor the scene.
std::vector<std::string> Leftovers(const stdfs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : stdfs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (!name.ends_with(".png") && name != "image_scan.pov") names.push_back(name);
  }
  return names;
}

// The window in a process of its own, scanning `folder` and under way: its temporary file
// exists. -1 when it could not be started.
pid_t StartScanning(const TempFolder& folder, const stdfs::path& scanned) {
  const pid_t child = StartChild({"IMAGESCAN_TEST_FOLDER=" + scanned.string()}, folder.Path("out").string());
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (child > 0 && Leftovers(scanned).empty() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return child;
}

// Signals that others or a limit send (a user's own, a CPU time limit) end a scan as an
// interrupt does: the old scene stays and no temporary file. Killing the window leaves
// the old scene too, and its temporary file.
TEST(ProcessCommand, ASignalOrAKillMidScanLeavesThePreviousSceneUnchanged) {
  TempFolder folder;
  PutImages(folder, "pics", 3000);
  folder.Put("pics/image_scan.pov", "the earlier scene");
  for (const int number : {SIGUSR1, SIGXCPU, SIGKILL}) {
    const pid_t child = StartScanning(folder, folder.Path("pics"));
    ASSERT_GT(child, 0);
    kill(child, number);
    const int status = WaitFor(child);
    EXPECT_EQ(folder.Get("pics/image_scan.pov"), "the earlier scene") << strsignal(number);
    if (number == SIGKILL) {
      ASSERT_TRUE(WIFSIGNALED(status)) << "the scan ended before it could be killed";
      break;
    }
    ASSERT_TRUE(WIFEXITED(status)) << strsignal(number) << " killed it";
    EXPECT_EQ(WEXITSTATUS(status), 128 + number) << strsignal(number);
    EXPECT_TRUE(Leftovers(folder.Path("pics")).empty()) << strsignal(number);
  }
  const std::vector<std::string> left = Leftovers(folder.Path("pics"));
  ASSERT_EQ(left.size(), 1u);
  // Hidden, and not a name the scan takes for an image.
  EXPECT_TRUE(left[0].starts_with(".image_scan.pov.") && left[0].ends_with(".tmp")) << left[0];
}

TEST(ProcessCommand, AFullFileSystemKeepsTheOldSceneAndTheMessageNamesTheFile) {
  TempFolder folder;
  const stdfs::path disk = folder.Path("disk");
  stdfs::create_directory(disk);
  // A small file system where the tests run as root, else a file size limit in a child.
  const bool mounted = geteuid() == 0 && mount("imagescan-test", disk.c_str(), "tmpfs", 0, "size=32k") == 0;
  const std::string old_scene(6000, 'o');
  folder.Put("disk/image_scan.pov", old_scene);
  for (int i = 0; i < 2000; ++i) folder.Put("disk/image-with-a-long-name-" + std::to_string(i) + ".png", "");
  const std::string scene = (disk / "image_scan.pov").string();
  std::string message;
  if (mounted) {
    WindowDriver driver;
    std::vector<std::string> rows;
    EXPECT_EQ(ProcessThenQuit(driver, TextFromEscapedBytes(disk.string()) + u"/", &rows), 0);
    // The scan stops soon after the first write that fails, not at the end of the folder.
    EXPECT_LT(rows.size(), 2000u);
    ASSERT_EQ(driver.messages.size(), 1u);
    EXPECT_EQ(driver.messages[0].caption, u"imagescan");
    message = "message: imagescan: " + EscapedBytesFromText(driver.messages[0].text) + "\n";
  } else {
    const pid_t child = StartChild({"IMAGESCAN_TEST_FOLDER=" + disk.string(), "IMAGESCAN_TEST_FILE_LIMIT=20000"},
                                   folder.Path("out").string());
    ASSERT_GT(child, 0);
    const int status = WaitFor(child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    message = folder.Get("out");
  }
  EXPECT_NE(message.find("message: imagescan: Cannot write " + scene + ": " +
                         (mounted ? "No space left on device" : "File too large")),
            std::string::npos)
      << message;
  EXPECT_EQ(folder.Get("disk/image_scan.pov"), old_scene);
  EXPECT_TRUE(Leftovers(disk).empty());
  if (mounted) umount2(disk.c_str(), MNT_DETACH);
}

}  // namespace
