// The walk holds the folder it reads, not every folder above it: a deep tree costs few
// descriptors.
#include <filesystem>
#include <string>

#include "support/scene_expectations.h"
#include "support/temp_folder.h"
#include "support/test_images.h"
#include "tests/app/scene_test_support.h"

namespace {

int OpenDescriptors() {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
  return count;
}

// The most descriptors open whenever a folder is entered.
class DescriptorWatch : public ScanObserver {
 public:
  void ImageFound(const std::u16string&, ImageSize) override {}
  void FolderEntered(const std::u16string&) override { most = std::max(most, OpenDescriptors()); }
  int most = 0;
};

TEST_F(SceneTest, AWalkDownADeepTreeHoldsFewFolders) {
  TempFolder folder;
  std::string deep;
  for (int level = 0; level < 150; ++level) deep += "d/";
  std::filesystem::create_directories(folder.Path(deep));
  folder.Put("top.png", EncodeTestPng(2, 2));
  folder.Put(deep + "bottom.png", EncodeTestPng(3, 1));
  const int before = OpenDescriptors();
  DescriptorWatch watch;
  const auto [lines, ok] = ScanToText(folder.Text() + u"/", watch, {MeasureMode::Exact, 1});
  ASSERT_TRUE(ok);
  EXPECT_NE(lines.find(Line(deep + "bottom.png", 3, 1)), std::string::npos);
  EXPECT_LT(watch.most - before, 20);
}

}  // namespace
