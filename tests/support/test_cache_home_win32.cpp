// Every test program, and every program it starts, keeps its store of measured sizes in a
// cache folder of its own, which goes when the test program ends: a test never reads or
// changes the user's.
#include <windows.h>

#include <filesystem>
#include <string>

namespace {

class TestCacheHome {
 public:
  TestCacheHome() {
    std::error_code error;
    folder_ =
        std::filesystem::temp_directory_path(error) / (L"imagescan-cache-" + std::to_wstring(GetCurrentProcessId()));
    std::filesystem::create_directories(folder_, error);
    SetEnvironmentVariableW(L"LOCALAPPDATA", folder_.c_str());
  }
  ~TestCacheHome() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

 private:
  std::filesystem::path folder_;
};

const TestCacheHome g_test_cache_home;

}  // namespace
