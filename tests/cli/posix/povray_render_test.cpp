// Renders the sample gallery's scene for POV-Ray 3.7 with the installed POV-Ray, where
// there is one: the scene must parse without a warning, name every image it lists and
// show something; and the batch program's --render makes the picture of it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "image/image_loader.h"
#include "image/image_setup.h"
#include "image/image_table.h"
#include "support/temp_folder.h"

namespace {

namespace stdfs = std::filesystem;

// Runs a shell command; its standard output and error together.
std::string RunShell(const std::string& command, int& status) {
  std::string output;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return output;
  std::array<char, 4096> buffer;
  size_t got;
  while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) output.append(buffer.data(), got);
  const int result = pclose(pipe);
  status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
  return output;
}

// The share of pixels of a binary PPM that are not black; -1 when it is not one.
double LitShare(const std::string& ppm) {
  size_t pos = 0;
  std::array<long, 3> numbers{};  // width, height, maximum
  if (!ppm.starts_with("P6")) return -1;
  pos = 2;
  for (long& number : numbers) {
    while (pos < ppm.size() && (std::isspace(static_cast<unsigned char>(ppm[pos])) || ppm[pos] == '#')) {
      if (ppm[pos] == '#') pos = ppm.find('\n', pos);
      if (pos == std::string::npos) return -1;
      ++pos;
    }
    size_t used = 0;
    number = std::stol(ppm.substr(pos, 12), &used);
    pos += used;
  }
  ++pos;  // the one blank after the maximum
  const size_t pixels = static_cast<size_t>(numbers[0] * numbers[1]);
  if (numbers[2] > 255 || pos > ppm.size() || ppm.size() - pos < pixels * 3) return -1;
  size_t lit = 0;
  for (size_t i = 0; i < pixels; ++i) {
    if (ppm[pos + 3 * i] != 0 || ppm[pos + 3 * i + 1] != 0 || ppm[pos + 3 * i + 2] != 0) ++lit;
  }
  return static_cast<double>(lit) / static_cast<double>(pixels);
}

struct Render {
  int status = -1;
  std::string output;  // POV-Ray's messages
  double lit = -1;     // the share of pixels that are not black
};

// Writes the folder's scene for POV-Ray 3.7 and renders it small.
Render RenderSceneFor37(const TempFolder& folder, const TempFolder& scratch) {
  Render render;
  const std::string quoted = "'" + folder.Path("").string() + "'";
  render.output = RunShell(std::string(IMAGESCAN_CLI) + " --quiet --pov-version=3.7 " + quoted, render.status);
  if (render.status != 0) return render;
  // POV-Ray reads only below a few folders, the scene's own folder among them.
  render.output = RunShell(
      "cd " + quoted + " && povray +Iimage_scan.pov +W160 +H90 -D -V +FP +O" + scratch.Path("render.ppm").string(),
      render.status);
  render.lit = LitShare(scratch.Get("render.ppm"));
  return render;
}

TEST(PovRay, RendersTheScenesFor37) {
  int status = -1;
  RunShell("command -v povray", status);
  if (status != 0) GTEST_SKIP() << "POV-Ray is not installed";

  TempFolder gallery, scratch;
  stdfs::copy(IMAGESCAN_SAMPLES, gallery.Path(""), stdfs::copy_options::recursive);
  stdfs::remove(gallery.Path("image_scan.pov"));
  const Render render = RenderSceneFor37(gallery, scratch);
  EXPECT_EQ(render.status, 0) << render.output;
  EXPECT_EQ(render.output.find("Parse Error"), std::string::npos) << render.output;
  EXPECT_EQ(render.output.find("Parse Warning"), std::string::npos) << render.output;
  // The scene prints each image's file name as it adds it.
  int images = 0;
  for (const auto& entry : stdfs::recursive_directory_iterator(gallery.Path(""))) {
    const std::string name = entry.path().filename().string();
    if (entry.is_directory() || name == "image_scan.pov") continue;
    ++images;
    EXPECT_NE(render.output.find("\n" + name + "\n"), std::string::npos) << name << "\n" << render.output;
  }
  EXPECT_EQ(images, 7);
  EXPECT_GT(render.lit, 0.05);

  // A folder without images: only the two captions at the top.
  TempFolder empty;
  const Render bare = RenderSceneFor37(empty, scratch);
  EXPECT_EQ(bare.status, 0) << bare.output;
  EXPECT_GT(bare.lit, 0.0);
}

// The share of the picture's pixels that are not black, read by our own loader; -1 when
// it is no picture of that size.
double LitShareOfPicture(const std::u16string& path, int width, int height) {
  ImageLayerStart();
  double share = -1;
  const int64_t image = ReadImageFile(kAutoNumber, path);
  const ImageRecord* record = ImageFind(image);
  if (record && record->width == width && record->height == height && record->frames[0].bitmap) {
    const Bitmap& bitmap = *record->frames[0].bitmap;
    const int bytes_per_pixel = bitmap.Depth() / 8;
    size_t lit = 0;
    for (int32_t y = 0; y < height; ++y) {
      const auto row = bitmap.PictureRow(y);
      for (int32_t x = 0; x < width; ++x) {
        const uint8_t* pixel = row.data() + x * bytes_per_pixel;
        if (pixel[0] != 0 || pixel[1] != 0 || pixel[2] != 0) ++lit;
      }
    }
    share = static_cast<double>(lit) / (static_cast<double>(width) * height);
  }
  ImageLayerStop();
  return share;
}

TEST(PovRay, TheBatchProgramRendersTheGallery) {
  int status = -1;
  RunShell("command -v povray", status);
  if (status != 0) GTEST_SKIP() << "POV-Ray is not installed";

  TempFolder gallery;
  stdfs::copy(IMAGESCAN_SAMPLES, gallery.Path(""), stdfs::copy_options::recursive);
  stdfs::remove(gallery.Path("image_scan.pov"));
  // The scene for the POV-Ray found, without being asked for it.
  const std::string output =
      RunShell(std::string(IMAGESCAN_CLI) + " --quiet --render=160x90 '" + gallery.Path("").string() + "'", status);
  EXPECT_EQ(status, 0) << output;
  EXPECT_GT(LitShareOfPicture(gallery.Text("image_scan.png"), 160, 90), 0.05) << output;
}

}  // namespace
