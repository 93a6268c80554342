// Writes the sample gallery that scripts/run scans when it is given no folder: a few
// small PNG, JPEG and GIF pictures in two levels of folders, and a Radiance HDR file.
//   make_sample_gallery FOLDER
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/test_images.h"

namespace {

void Write(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

// A tiny HDR picture: the text header, then flat (not run-length coded) RGBE pixels.
std::string RadianceHdr(int width, int height) {
  std::string bytes =
      "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y " + std::to_string(height) + " +X " + std::to_string(width) + "\n";
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double value = 0.25 + 4.0 * x / width;  // brighter than white on the right
      int exponent;
      const double mantissa = std::frexp(value, &exponent);
      const char m = static_cast<char>(static_cast<int>(mantissa * 256));
      bytes += {m, m, static_cast<char>(static_cast<int>(mantissa * 128)), static_cast<char>(exponent + 128)};
    }
  }
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sample_gallery FOLDER\n");
    return 2;
  }
  const std::filesystem::path root = argv[1];
  Write(root / "cover.png", EncodeTestPng(96, 64));
  Write(root / "studio" / "portrait.jpg", EncodeTestJpeg(48, 72));
  Write(root / "studio" / "sky.hdr", RadianceHdr(32, 16));
  Write(root / "trip" / "beach.jpg", EncodeTestJpeg(120, 80));
  Write(root / "trip" / "map.gif", EncodeTestGif(64, 64));
  Write(root / "trip" / "day2" / "sunset.png", EncodeTestPng(80, 45));
  Write(root / "trip" / "day2" / "birds.gif", EncodeTestGif(40, 30));
  return 0;
}
