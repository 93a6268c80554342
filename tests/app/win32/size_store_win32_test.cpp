// The user's store on Windows: in %LOCALAPPDATA%\imagescan.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/scene/size_store.h"
#include "support/temp_folder.h"

namespace {

// Points %LOCALAPPDATA% elsewhere for one test.
class LocalAppData {
 public:
  explicit LocalAppData(const std::wstring& path) {
    std::vector<wchar_t> old(32768);
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", old.data(), static_cast<DWORD>(old.size()));
    old_.assign(old.data(), length);
    SetEnvironmentVariableW(L"LOCALAPPDATA", path.c_str());
  }
  ~LocalAppData() { SetEnvironmentVariableW(L"LOCALAPPDATA", old_.empty() ? nullptr : old_.c_str()); }

 private:
  std::wstring old_;
};

TEST(UserSizeStore, IsMadeInTheLocalApplicationDataFolderAndAnswersThere) {
  TempFolder folder;
  const LocalAppData home(folder.Path("").wstring());
  const FileStamp stamp{1, 2, 3, SizeStore::SystemClock() - 60'000'000'000, SizeStore::SystemClock() - 60'000'000'000,
                        0};
  {
    SizeStore store = SizeStore::ForUser();
    EXPECT_EQ(store.TakeWarning(), u"");
    store.ScanBegins(MeasureMode::Exact);
    store.Keep(stamp, folder.Text(), {12, 34});
  }
  EXPECT_TRUE(std::filesystem::is_regular_file(folder.Path("imagescan/sizes.sqlite")));
  SizeStore store = SizeStore::ForUser();
  store.ScanBegins(MeasureMode::Exact);
  const auto size = store.Find(stamp, folder.Text());
  ASSERT_TRUE(size.has_value());
  EXPECT_EQ(size->width, 12);
  EXPECT_EQ(size->height, 34);
}

}  // namespace
