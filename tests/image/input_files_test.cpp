// The files in tests/image/inputs/, valid, damaged and found by fuzzing, each beside what
// loading, measuring and quick mode must say of it in inputs/expected.txt. A regression
// found anywhere becomes a file dropped in there and a line.
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "image/image_measure.h"
#include "image/quick_size.h"
#include "support/temp_folder.h"
#include "tests/image/image_fixture.h"

namespace {

const std::filesystem::path kInputs = IMAGESCAN_IMAGE_INPUTS;

struct Expectation {
  std::string name;
  std::string exact;  // what loading and measuring give: "WxH" or "none"
  std::string quick;
};

void PrintTo(const Expectation& e, std::ostream* out) { *out << e.name; }

// The lines of expected.txt: a file name, its exact size and its quick size; "#" begins
// a comment.
std::vector<Expectation> Expectations() {
  std::vector<Expectation> list;
  std::ifstream file(kInputs / "expected.txt");
  for (std::string line; std::getline(file, line);) {
    std::istringstream fields(line.substr(0, line.find('#')));
    Expectation e;
    if (fields >> e.name >> e.exact >> e.quick) list.push_back(e);
  }
  return list;
}

std::string Shown(const std::optional<ImageSize>& size) {
  return size ? std::to_string(size->width) + "x" + std::to_string(size->height) : "none";
}

std::string Loaded(const std::u16string& path) {
  const int64_t id = ReadImageFile(kAutoNumber, path);
  if (id == 0) return "none";
  const std::string shown =
      Shown(ImageSize{static_cast<int32_t>(ImagePixelWidth(id)), static_cast<int32_t>(ImagePixelHeight(id))});
  ReleaseImage(id);
  return shown;
}

class InputFile : public ImageTest, public ::testing::WithParamInterface<Expectation> {};

TEST_P(InputFile, GivesTheSizesWrittenBesideIt) {
  const Expectation& e = GetParam();
  const std::u16string path = TempFolder::TextOf(kInputs / e.name);
  EXPECT_EQ(Loaded(path), e.exact);
  EXPECT_EQ(Shown(MeasureImageFile(path)), e.exact);
  EXPECT_EQ(Shown(QuickImageFileSize(path)), e.quick);
}

INSTANTIATE_TEST_SUITE_P(Inputs, InputFile, ::testing::ValuesIn(Expectations()),
                         [](const ::testing::TestParamInfo<Expectation>& info) {
                           std::string name = info.param.name;
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

TEST(InputFolder, EveryFileHasOneLine) {
  std::multiset<std::string> listed;
  for (const Expectation& e : Expectations()) listed.insert(e.name);
  std::multiset<std::string> present;
  for (const auto& entry : std::filesystem::directory_iterator(kInputs)) {
    if (entry.path().filename() != "expected.txt") present.insert(entry.path().filename().string());
  }
  EXPECT_EQ(listed, present);
}

}  // namespace
