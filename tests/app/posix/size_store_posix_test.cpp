// The user's store: where it lives and who may read it.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <optional>
#include <string>

#include "app/scene/size_store.h"
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
  { SizeStore store = SizeStore::ForUser(); EXPECT_EQ(store.TakeWarning(), u""); }
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
