// Every test program, and every program it starts, keeps its store of measured sizes in a
// cache folder of its own, which goes when the test program ends: a test never reads or
// changes the user's.
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace {

class TestCacheHome {
 public:
  TestCacheHome() {
    std::error_code error;
    folder_ = std::filesystem::temp_directory_path(error) / ("imagescan-cache-" + std::to_string(getpid()));
    setenv("XDG_CACHE_HOME", folder_.c_str(), 1);
  }
  ~TestCacheHome() {
    // Only the process that made it: a child of fork() leaves it to its parent.
    if (getpid() != owner_) return;
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

 private:
  pid_t owner_ = getpid();
  std::filesystem::path folder_;
};

const TestCacheHome g_test_cache_home;

}  // namespace
