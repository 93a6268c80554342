// The scan on Windows: a tree that goes deeper than a path may be long.
#include <windows.h>

#include <string>

#include "support/scene_expectations.h"
#include "support/test_images.h"
#include "tests/app/scene_test_support.h"

namespace {

// Counts what the scan could not read.
class UnreadableObserver : public RecordingObserver {
 public:
  void EntryUnreadable(const std::u16string& path, int) override { unreadable.push_back(path); }
  std::vector<std::u16string> unreadable;
};

// The long form ("\\?\") makes and removes folders past the path limit; it takes only
// "\\" as a separator, and no final one.
std::wstring LongForm(const stdfs::path& folder) {
  std::wstring path = folder.lexically_normal().make_preferred().wstring();
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  return L"\\\\?\\" + path;
}

TEST_F(ImageScanTest, FoldersDeeperThanAPathMayBeAreReportedAndTheRestIsScanned) {
  TempFolder folder;
  folder.Put("top.png", EncodeTestPng(3, 2));
  const std::wstring name(120, L'd');
  std::wstring deep = LongForm(folder.Path(""));
  std::vector<std::wstring> levels;
  for (int level = 0; level < 3; ++level) {
    deep += L"\\" + name;
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
    levels.push_back(deep);
  }
  // One image where the path still fits, one beyond the limit.
  const std::string png = EncodeTestPng(5, 4);
  for (const std::wstring& at : {levels[0], levels[2]}) {
    const HANDLE file =
        CreateFileW((at + L"\\in.png").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, png.data(), static_cast<DWORD>(png.size()), &written, nullptr);
    CloseHandle(file);
  }

  UnreadableObserver observer;
  const auto [lines, ok] = ScanToText(folder.Text() + u"\\", observer);
  ASSERT_TRUE(ok);
  const std::string first(120, 'd');
  EXPECT_NE(lines.find(Line("top.png", 3, 2)), std::string::npos) << lines;
  EXPECT_NE(lines.find(Line(first + "/in.png", 5, 4)), std::string::npos) << lines;
  // The deepest image lies past the limit: Windows refuses to list its folder, Wine lists
  // it; either way the user hears of it.
  ASSERT_FALSE(observer.unreadable.empty());
  EXPECT_GE(observer.unreadable.front().size(), static_cast<size_t>(MAX_PATH));

  DeleteFileW((levels[2] + L"\\in.png").c_str());
  DeleteFileW((levels[0] + L"\\in.png").c_str());
  for (auto level = levels.rbegin(); level != levels.rend(); ++level) RemoveDirectoryW(level->c_str());
}

}  // namespace
