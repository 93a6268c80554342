// The folder trees' file icons: which files share the icon of their kind.
#include "ui/file_icon_cache.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(FileIconCache, FilesOfAShortExtensionShareOneIconWhateverTheirCase) {
  std::vector<std::u16string> asked;
  // The icon is the number of the question; 0 is one the system could not give.
  FileIconCache<int> cache(
      [&](const std::u16string& path) {
        asked.push_back(path);
        return path.ends_with(u".bad") ? 0 : static_cast<int>(asked.size());
      },
      [](const int& icon) { return icon != 0; });
  const std::lock_guard hold(cache.Lock());
  EXPECT_EQ(cache.For(u"/a/one.png"), 1);
  EXPECT_EQ(cache.For(u"/b/two.PNG"), 1);
  EXPECT_EQ(cache.For(u"/b/two.Png"), 1);
  EXPECT_EQ(asked, std::vector<std::u16string>{u"/a/one.png"});

  // Each of these is asked for every time: programs, icons, links and icon libraries,
  // in any case; extensions longer than four; names without one, in a folder with a dot
  // or not; icons not given.
  for (const std::u16string path :
       {u"/a/x.exe", u"/a/x.ICO", u"/a/x.Lnk", u"/a/x.icl", u"/a/x.photo", u"/a/README", u"/a.b/x", u"/a/x.bad"}) {
    asked.clear();
    cache.For(path);
    cache.For(path);
    EXPECT_EQ(asked.size(), 2u) << std::string(path.begin(), path.end());
  }
  EXPECT_EQ(FileIconKey(u"/a.b/x"), std::nullopt);
  EXPECT_EQ(FileIconKey(u"x.JPG"), u"jpg");
}

}  // namespace
