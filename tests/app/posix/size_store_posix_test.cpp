// The user's store: where it lives and who may read it.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "app/scene/size_store.h"
#include "fs/stamp_trust.h"
#include "support/temp_folder.h"

namespace {

// Points the user's cache folder elsewhere for one test.
class CacheHome {
 public:
  explicit CacheHome(const std::string& path) {
    if (const char* old = getenv("XDG_CACHE_HOME")) old_ = old;
    setenv("XDG_CACHE_HOME", path.c_str(), 1);
  }
  ~CacheHome() {
    if (old_) {
      setenv("XDG_CACHE_HOME", old_->c_str(), 1);
    } else {
      unsetenv("XDG_CACHE_HOME");
    }
  }

 private:
  std::optional<std::string> old_;
};

mode_t ModeOf(const std::filesystem::path& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

TEST(UserSizeStore, IsMadePrivateInTheCacheFolder) {
  TempFolder folder;
  const CacheHome home(folder.Path("cache").string());
  const mode_t old_mask = umask(0);
  {
    SizeStore store = SizeStore::ForUser();
    EXPECT_EQ(store.TakeWarning(), u"");
  }
  umask(old_mask);
  EXPECT_EQ(ModeOf(folder.Path("cache")), 0700u);
  EXPECT_EQ(ModeOf(folder.Path("cache/imagescan")), 0700u);
  EXPECT_EQ(ModeOf(folder.Path("cache/imagescan/sizes.sqlite")), 0600u);
}

TEST(UserSizeStore, ACacheFolderThatCannotBeMadeOnlyWarns) {
  TempFolder folder;
  folder.Put("cache", "a file where the folder would go");
  const CacheHome home(folder.Path("cache").string());
  SizeStore store = SizeStore::ForUser();
  store.ScanBegins(MeasureMode::Exact);
  const FileStamp stamp{1, 2, 3, 4, 5, 0};
  store.Keep(stamp, folder.Text(), {1, 1});
  store.ScanEnds();
  EXPECT_EQ(store.Find(stamp, folder.Text()), std::nullopt);
  EXPECT_NE(store.TakeWarning().find(u"cache folder cannot be made"), std::u16string::npos);
}

}  // namespace

// A user-space file system may make its file numbers and times up: the store neither keeps
// nor answers sizes of files there, while the same files seen directly are kept.
TEST(UserSizeStore, FilesOnAUserSpaceFileSystemAreAlwaysMeasured) {
  TempFolder folder;
  std::filesystem::create_directories(folder.Path("real"));
  std::filesystem::create_directories(folder.Path("mounted"));
  const std::string real = folder.Path("real").string(), mounted = folder.Path("mounted").string();
  if (std::system(("bindfs " + real + " " + mounted + " 2>/dev/null").c_str()) != 0) {
    GTEST_SKIP() << "bindfs cannot mount a user-space file system here";
  }
  struct Unmount {
    std::string path;
    ~Unmount() { std::system(("fusermount -u " + path + " 2>/dev/null || umount " + path).c_str()); }
  } unmount{mounted};

  EXPECT_FALSE(FolderStampTrust(folder.Text("mounted") + u"/").trusted);
  const StampTrust local = FolderStampTrust(folder.Text("real") + u"/");
  EXPECT_TRUE(local.trusted);
  EXPECT_EQ(local.granularity_ns, 1'000'000'000);

  SizeStore store(folder.Text() + u"/");
  store.ScanBegins(MeasureMode::Exact);
  const int64_t long_ago = SizeStore::SystemClock() - int64_t{3600} * 1'000'000'000;
  // Each file system is a device of its own.
  const FileStamp on_mount{1, 2, 100, long_ago, long_ago, 0}, direct_stamp{2, 2, 100, long_ago, long_ago, 0};
  store.Keep(on_mount, folder.Text("mounted") + u"/", {640, 480});
  store.Keep(direct_stamp, folder.Text("real") + u"/", {640, 480});
  store.ScanEnds();
  store.ScanBegins(MeasureMode::Exact);
  EXPECT_FALSE(store.Find(on_mount, folder.Text("mounted") + u"/").has_value());
  const auto direct = store.Find(direct_stamp, folder.Text("real") + u"/");
  ASSERT_TRUE(direct.has_value());
  EXPECT_EQ(direct->width, 640);
}
