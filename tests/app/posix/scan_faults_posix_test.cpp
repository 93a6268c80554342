// Faults of the system's during a scan, injected through the file layer's seam: a folder
// that fails part way through its listing, an image the system fails to open. None of
// them may pass for success.
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <new>
#include <string>
#include <vector>

#include "app/scene/process_command.h"
#include "app/scene/process_report.h"
#include "app/scene/scene_file_writer.h"
#include "fs/fault_seam.h"
#include "fs/path_ops.h"
#include "fs/system_errors.h"
#include "support/scene_expectations.h"
#include "support/test_images.h"
#include "tests/app/scene_test_support.h"

namespace {

class ScanFaults : public SceneTest {
 protected:
  void TearDown() override {
    FaultHookSet(nullptr);
    SceneTest::TearDown();
  }
};

class Warnings : public ScanObserver {
 public:
  void ImageFound(const std::u16string&, ImageSize) override {}
  void EntryUnreadable(const std::u16string& path, int system_error) override {
    paths.push_back(path);
    errors.push_back(system_error);
  }
  void FolderEntered(const std::u16string&) override { ++folders; }
  std::vector<std::u16string> paths;
  std::vector<int> errors;
  int folders = 0;
};

bool EndsWith(const std::u16string& path, const std::u16string& tail) {
  return path.size() >= tail.size() && path.compare(path.size() - tail.size(), tail.size(), tail) == 0;
}

int FailListingOfSub(FaultPoint point, const std::u16string& path) {
  return point == FaultPoint::ListFolder && EndsWith(path, u"/sub/") ? EIO : 0;
}

int FailListingOfPics(FaultPoint point, const std::u16string& path) {
  return point == FaultPoint::ListFolder && EndsWith(path, u"/pics/") ? EIO : 0;
}

// The scanned folder that cannot be opened or listed, and the hidden files that stood in
// it at that moment.
std::string g_pics;
size_t g_hidden_at_failure = 0;

int FailOpeningOrListingOfPics(FaultPoint point, const std::u16string& path) {
  if ((point != FaultPoint::OpenFolder && point != FaultPoint::ListFolder) || !EndsWith(path, u"/pics/")) return 0;
  for (const auto& entry : std::filesystem::directory_iterator(g_pics))
    g_hidden_at_failure += entry.path().filename().string().starts_with(".");
  return EIO;
}

// No descriptor left for one image, as under a low `ulimit -n`.
int NoDescriptorForA(FaultPoint point, const std::u16string& path) {
  return point == FaultPoint::OpenFile && EndsWith(path, u"/a.png") ? EMFILE : 0;
}

// Memory running out when the new scene is opened to be read back.
int NoMemoryToReadTheSceneBack(FaultPoint point, const std::u16string& path) {
  if (point == FaultPoint::OpenFile && EndsWith(path, u"/image_scan.pov")) throw std::bad_alloc();
  return 0;
}

// The image the scan looked at, swapped for a FIFO before it is opened for reading: the
// path of the swap, of the file moved away, and a watch that sees every open of the FIFO.
std::string g_swapped, g_moved_away;
int g_watch = -1;

int SwapAForAFifo(FaultPoint point, const std::u16string& path) {
  if (point == FaultPoint::FileLooked && EndsWith(path, u"/a.png")) {
    std::rename(g_swapped.c_str(), g_moved_away.c_str());
    mkfifo(g_swapped.c_str(), 0644);
    inotify_add_watch(g_watch, g_swapped.c_str(), IN_OPEN);
  }
  return 0;
}

// The folder the listing saw as sub/, swapped for another of that name just before the
// walk opens it.
std::string g_sub;

int SwapSubForAnotherFolder(FaultPoint point, const std::u16string& path) {
  if (point == FaultPoint::OpenFolder && EndsWith(path, u"/sub/")) {
    std::rename(g_sub.c_str(), (g_sub + ".moved").c_str());
    mkdir(g_sub.c_str(), 0755);
  }
  return 0;
}

class ScanFaultsTree : public ScanFaults {
 protected:
  void SetUp() override {
    ScanFaults::SetUp();
    stdfs::create_directories(folder_.Path("pics/sub"));
    folder_.Put("pics/a.png", EncodeTestPng(3, 2));
    folder_.Put("pics/bad.png", "no image at all");  // 1 x 1, and no fault of the system's
    folder_.Put("pics/sub/b.gif", EncodeTestGif(5, 4));
    folder_.Put("pics/image_scan.pov", "the scene of an earlier run");
  }
  std::u16string Pics() const { return folder_.Text("pics") + u"/"; }
  std::string Scene() const { return folder_.Get("pics/image_scan.pov"); }

  TempFolder folder_;
};

TEST_F(ScanFaultsTree, AListingErrorBelowIsAWarningAndInTheScannedFolderAFailure) {
  FaultHookSet(FailListingOfSub);
  Warnings below;
  const SceneFileResult partial = WriteSceneFileSafely(Pics(), below);
  EXPECT_EQ(partial.system_error, 0);
  EXPECT_EQ(partial.unreadable, 1);
  ASSERT_EQ(below.paths.size(), 1u);
  EXPECT_EQ(below.paths[0], Pics() + u"sub/");
  EXPECT_EQ(below.errors[0], EIO);
  EXPECT_EQ(SceneExitStatus(partial), 3);
  EXPECT_EQ(Scene().find("sub/b.gif"), std::string::npos);
  EXPECT_NE(Scene().find(Line("a.png", 3, 2)), std::string::npos);

  // The scanned folder itself: nothing is written, the old scene stays, the user is told.
  folder_.Put("pics/image_scan.pov", "the scene of an earlier run");
  FaultHookSet(FailListingOfPics);
  Warnings top;
  const ProcessResult failed = ProcessFolder(Pics(), top);
  EXPECT_EQ(failed.scene.system_error, EIO);
  EXPECT_TRUE(failed.scene.folder_unreadable);
  EXPECT_EQ(SceneExitStatus(failed.scene), 1);
  EXPECT_EQ(ProcessFailureText(failed), u"Cannot read " + Pics() + u": " + SystemErrorText(EIO));
  EXPECT_EQ(Scene(), "the scene of an earlier run");
}

TEST_F(ScanFaultsTree, AnImageTheSystemFailsToReadIsListedAsOneByOneAndWarnedAbout) {
  FaultHookSet(NoDescriptorForA);
  Warnings warnings;
  const ProcessResult result = ProcessFolder(Pics(), warnings);
  EXPECT_EQ(result.scene.system_error, 0);
  EXPECT_EQ(result.scene.unmeasured, 1);
  EXPECT_EQ(result.scene.unreadable, 0);
  ASSERT_EQ(warnings.paths.size(), 1u);  // bad.png is the file's fault: no word
  EXPECT_EQ(warnings.paths[0], Pics() + u"a.png");
  EXPECT_EQ(warnings.errors[0], EMFILE);
  EXPECT_NE(Scene().find(Line("a.png", 1, 1)), std::string::npos);
  EXPECT_NE(Scene().find(Line("bad.png", 1, 1)), std::string::npos);
  EXPECT_NE(Scene().find(Line("sub/b.gif", 5, 4)), std::string::npos);
  EXPECT_EQ(SceneExitStatus(result.scene), 3);
  const std::vector<std::u16string> rows = ProcessSummaryRows(result);
  EXPECT_NE(std::find(rows.begin(), rows.end(), u"Warning: 1 image could not be read and is listed as 1 x 1"),
            rows.end());

  // Without the fault the same tree is complete.
  FaultHookSet(nullptr);
  Warnings none;
  const SceneFileResult sound = WriteSceneFileSafely(Pics(), none);
  EXPECT_EQ(SceneExitStatus(sound), 0);
  EXPECT_TRUE(none.paths.empty());
}

TEST_F(ScanFaultsTree, AFolderSwappedForAnotherBeforeItIsEnteredIsWarnedAboutAndLeftOut) {
  g_sub = folder_.Path("pics/sub").string();
  FaultHookSet(SwapSubForAnotherFolder);
  Warnings warnings;
  const ProcessResult result = ProcessFolder(Pics(), warnings);
  FaultHookSet(nullptr);
  ASSERT_EQ(warnings.paths.size(), 1u);
  EXPECT_EQ(warnings.paths[0], Pics() + u"sub/");
  EXPECT_EQ(warnings.errors[0], kChangedError);
  EXPECT_EQ(SceneExitStatus(result.scene), 3);
  EXPECT_EQ(Scene().find("sub/"), std::string::npos) << Scene();
  EXPECT_NE(Scene().find(Line("a.png", 3, 2)), std::string::npos);
}

TEST_F(ScanFaultsTree, AnImageReplacedByAFifoAfterTheLookIsReadAsTheFileSeenAndTheFifoNeverOpened) {
  g_swapped = folder_.Path("pics/a.png").string();
  g_moved_away = folder_.Path("pics/a.moved").string();
  g_watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(g_watch, 0);
  FaultHookSet(SwapAForAFifo);
  Warnings warnings;
  const ProcessResult result = ProcessFolder(Pics(), warnings);
  FaultHookSet(nullptr);
  ASSERT_TRUE(stdfs::is_fifo(g_swapped));
  EXPECT_NE(Scene().find(Line("a.png", 3, 2)), std::string::npos) << Scene();
  EXPECT_TRUE(warnings.paths.empty());
  EXPECT_EQ(SceneExitStatus(result.scene), 0);

  // Now a.png is the FIFO from the start: looked at, never opened, 1 x 1 without a word.
  Warnings again;
  const ProcessResult fifo = ProcessFolder(Pics(), again);
  EXPECT_NE(Scene().find(Line("a.png", 1, 1)), std::string::npos) << Scene();
  EXPECT_TRUE(again.paths.empty());
  EXPECT_EQ(SceneExitStatus(fifo.scene), 0);
  char events[4096];
  EXPECT_LT(read(g_watch, events, sizeof events), 0) << "the scan opened the FIFO";
  close(g_watch);
}

// A real refusal, where the test is not run by root (whom a mode refuses nothing).
TEST_F(ScanFaultsTree, AnImageOfModeNoneReadByItsOwnerIsWarnedAboutByName) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads a file of mode 000; the fault seam covers the refusal";
  ASSERT_EQ(chmod(folder_.Path("pics/a.png").c_str(), 0), 0);
  Warnings warnings;
  const ProcessResult result = ProcessFolder(Pics(), warnings);
  ASSERT_EQ(warnings.paths.size(), 1u);
  EXPECT_EQ(warnings.paths[0], Pics() + u"a.png");
  EXPECT_EQ(warnings.errors[0], EACCES);
  EXPECT_EQ(result.scene.unmeasured, 1);
  EXPECT_EQ(SceneExitStatus(result.scene), 3);
  EXPECT_NE(Scene().find(Line("a.png", 1, 1)), std::string::npos);
}

// Where the scanned folder cannot be opened or listed, that is the one thing told: not
// also a warning, nor a failure to write, and no temporary file was made before it.
TEST_F(ScanFaultsTree, TheScannedFolderThatCannotBeReadIsOneFailureToldBeforeAFileIsMade) {
  g_pics = folder_.Path("pics").string();
  g_hidden_at_failure = 0;
  FaultHookSet(FailOpeningOrListingOfPics);
  Warnings warnings;
  const ProcessResult result = ProcessFolder(Pics(), warnings);
  FaultHookSet(nullptr);
  EXPECT_EQ(g_hidden_at_failure, 0u);
  EXPECT_TRUE(warnings.paths.empty());
  EXPECT_EQ(warnings.folders, 0);
  EXPECT_EQ(ProcessSummaryRows(result),
            std::vector<std::u16string>{u"Cannot read " + Pics() + u": " + SystemErrorText(EIO)});
  EXPECT_EQ(SceneExitStatus(result.scene), 1);
  EXPECT_EQ(Scene(), "the scene of an earlier run");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(g_pics), {}), 4);
}

TEST_F(ScanFaultsTree, MemoryRunningOutWhileTheNewSceneIsReadBackIsAFailureToReadItNotAnEscape) {
  FaultHookSet(NoMemoryToReadTheSceneBack);
  Warnings warnings;
  const ProcessResult result = ProcessFolder(Pics(), warnings);
  FaultHookSet(nullptr);
  EXPECT_EQ(result.scene.system_error, 0);
  EXPECT_EQ(result.read_error, kOutOfMemoryError);
  EXPECT_EQ(ProcessFailureText(result),
            u"Cannot read " + Pics() + u"image_scan.pov: " + SystemErrorText(kOutOfMemoryError));
  EXPECT_NE(Scene().find(Line("a.png", 3, 2)), std::string::npos);  // in place and whole
}

// Run as root on a folder of another user's, the scan follows none of that user's links
// into what only root may read; links of root's own, and the user's links to the user's
// own files, it follows as ever.
TEST_F(ScanFaults, ARootScanFollowsNoOtherUsersLinkToWhatThatUserDoesNotOwn) {
  if (geteuid() != 0) GTEST_SKIP() << "only root reads what the user's links lead to";
  constexpr uid_t kUser = 65534;
  TempFolder home, secret;
  secret.Put("plan.png", EncodeTestPng(9, 9));
  ASSERT_EQ(chmod(secret.Path("").c_str(), 0700), 0);
  home.Put("own.png", EncodeTestPng(2, 2));
  const auto link = [&](const std::filesystem::path& target, const std::string& name, bool users) {
    std::filesystem::create_symlink(target, home.Path(name));
    if (users) {
      ASSERT_EQ(lchown(home.Path(name).c_str(), kUser, kUser), 0);
    }
  };
  link(secret.Path("plan.png"), "x.png", true);
  link(secret.Path(""), "peek", true);
  link(home.Path("own.png"), "mine.png", true);
  link(secret.Path("plan.png"), "roots.png", false);
  ASSERT_EQ(chown(home.Path("own.png").c_str(), kUser, kUser), 0);
  ASSERT_EQ(chown(home.Path("").c_str(), kUser, kUser), 0);

  Warnings warnings;
  const ProcessResult result = ProcessFolder(home.Text() + u"/", warnings);
  const std::string scene = home.Get("image_scan.pov");
  EXPECT_EQ(SceneExitStatus(result.scene), 3);
  EXPECT_EQ(result.scene.unreadable, 2);
  std::sort(warnings.paths.begin(), warnings.paths.end());
  EXPECT_EQ(warnings.paths, (std::vector<std::u16string>{home.Text() + u"/peek/", home.Text() + u"/x.png"}));
  EXPECT_EQ(warnings.errors, (std::vector<int>{kLinkNotFollowedError, kLinkNotFollowedError}));
  EXPECT_EQ(scene.find("x.png"), std::string::npos) << scene;
  EXPECT_EQ(scene.find("peek"), std::string::npos) << scene;
  EXPECT_NE(scene.find(Line("own.png", 2, 2)), std::string::npos) << scene;
  EXPECT_NE(scene.find(Line("mine.png", 2, 2)), std::string::npos) << scene;
  EXPECT_NE(scene.find(Line("roots.png", 9, 9)), std::string::npos) << scene;
}

}  // namespace
