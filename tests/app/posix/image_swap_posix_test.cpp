// An image the listing saw as a plain file is opened at once, without a look first: what
// may take its place between the listing and the open must still make the open neither
// wait, nor read anything but a plain file, nor follow a link the scan would not.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <future>
#include <map>
#include <string>

#include "fs/fault_seam.h"
#include "fs/system_errors.h"
#include "support/test_images.h"
#include "tests/app/scene_test_support.h"

namespace {

namespace stdfs = std::filesystem;

constexpr uid_t kUser = 65534;

// Each image's size, and each warning's code, by path.
class Collected : public ScanObserver {
 public:
  void ImageFound(const std::u16string& path, ImageSize size) override { sizes[path] = {size.width, size.height}; }
  void EntryUnreadable(const std::u16string& path, int system_error) override { warnings[path] = system_error; }
  std::map<std::u16string, std::pair<int, int>> sizes;
  std::map<std::u16string, int> warnings;
};

// The folder scanned, and a PNG in a folder only root may read.
std::string g_folder, g_secret;

// Just before each image is opened, its name is given to something else.
int SwapAtTheOpen(FaultPoint point, const std::u16string& path) {
  if (point != FaultPoint::OpenFile) return 0;
  const std::string opened(path.begin(), path.end());  // the test's paths are ASCII
  const auto swap = [&](const std::string& name, auto make) {
    if (!opened.ends_with("/" + name)) return;
    const std::string full = g_folder + "/" + name;
    std::remove(full.c_str());
    make(full);
  };
  swap("fifo.png", [](const std::string& full) { mkfifo(full.c_str(), 0600); });
  swap("folder.png", [](const std::string& full) { mkdir(full.c_str(), 0700); });
  swap("link.png", [](const std::string& full) {
    symlink(g_secret.c_str(), full.c_str());
    lchown(full.c_str(), kUser, kUser);
  });
  return 0;
}

class ImageSwap : public SceneTest {
 protected:
  void TearDown() override {
    FaultHookSet(nullptr);
    SceneTest::TearDown();
  }
};

TEST_F(ImageSwap, WhatTakesAnImagesPlaceBeforeItIsOpenedIsNeitherWaitedForNorReadNorFollowed) {
  TempFolder folder, secret;
  for (const char* name : {"fifo.png", "folder.png", "link.png", "kept.png"}) folder.Put(name, EncodeTestPng(3, 2));
  secret.Put("plan.png", EncodeTestPng(9, 9));
  ASSERT_EQ(chmod(secret.Path("").c_str(), 0700), 0);
  g_folder = folder.Path("").string();
  g_secret = secret.Path("plan.png").string();
  FaultHookSet(SwapAtTheOpen);

  Collected found;
  auto scan =
      std::async(std::launch::async, [&] { return ImageScan(folder.Text() + u"/", folder.Text() + u"/", found); });
  // The FIFO has no writer: an open that waited for one would never end. One is opened
  // here to let it end, and the test fails.
  if (scan.wait_for(std::chrono::seconds{30}) != std::future_status::ready) {
    const int writer = open((g_folder + "/fifo.png").c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    scan.wait();
    if (writer >= 0) close(writer);
    FAIL() << "the open of the FIFO waited for a writer";
  }
  const ScanResult result = scan.get();
  FaultHookSet(nullptr);
  ASSERT_TRUE(stdfs::is_fifo(folder.Path("fifo.png")));
  ASSERT_TRUE(stdfs::is_directory(folder.Path("folder.png")));

  // Neither the FIFO nor the folder is read: 1 x 1 without a word, as what the loader
  // never takes.
  EXPECT_EQ((found.sizes[u"fifo.png"]), (std::pair{1, 1}));
  EXPECT_EQ((found.sizes[u"folder.png"]), (std::pair{1, 1}));
  EXPECT_EQ((found.sizes[u"kept.png"]), (std::pair{3, 2}));
  const std::u16string link = folder.Text() + u"/link.png";
  if (geteuid() == 0) {
    // Another user's link to what only root may read is not followed.
    EXPECT_EQ(found.sizes.count(u"link.png"), 0u);
    EXPECT_EQ(found.warnings, (std::map<std::u16string, int>{{link, kLinkNotFollowedError}}));
    EXPECT_EQ(result.unreadable, 1);
  } else {
    // One's own link is followed (lchown failed): by the link rule, as any link.
    EXPECT_EQ((found.sizes[u"link.png"]), (std::pair{9, 9}));
    EXPECT_TRUE(found.warnings.empty());
  }
  EXPECT_EQ(result.unmeasured, 0);
}

}  // namespace
