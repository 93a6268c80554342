// Writes a folder tree for comparing the scenes the Linux and the Windows batch
// programs write: misnamed formats, cut-off files, icons, nested and empty folders,
// plain ASCII names.
//   make_platform_tree FOLDER
//
// Windows lists a folder's entries sorted by name, Linux in the file system's own
// order. Every name here is lower case, and each folder's entries are created last
// name first: a tmpfs lists the newest entry first, so there both orders agree.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>

#include "support/test_images.h"

namespace {

namespace fs = std::filesystem;

std::string Text(const Bytes& bytes) { return {bytes.begin(), bytes.end()}; }

std::string Cut(const std::string& bytes, size_t keep) { return bytes.substr(0, std::min(keep, bytes.size())); }

// A folder's contents: a file's bytes, or (for a name ending in "/") a folder.
struct Folder {
  std::map<std::string, std::string> files;
  std::map<std::string, Folder> folders;
};

void Write(const fs::path& at, const Folder& folder) {
  fs::create_directories(at);
  std::map<std::string, std::function<void()>> entries;
  for (const auto& [name, bytes] : folder.files)
    entries[name] = [&, name] { std::ofstream(at / name, std::ios::binary) << bytes; };
  for (const auto& [name, inner] : folder.folders) entries[name] = [&, name] { Write(at / name, inner); };
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) entry->second();
}

Folder Tree() {
  const std::string png = EncodeTestPng(96, 64);
  const std::string jpeg = EncodeTestJpeg(120, 80);
  const std::string gif = EncodeTestGif(64, 48);
  const std::string icon = Text(MakeIcon({{32, 32, 32, IconBitmap(32, 32, 32)}, {16, 16, 8, IconBitmap(16, 16, 8)}}));
  const std::string bmp = Text(MakeBmp(7, 5, 24, 0, {}, Bytes(4 * 24 * 5 / 8 * 4, 0x40)));

  Folder top;
  top.files = {
      {"cover.png", png},
      {"photo.jpg", jpeg},
      {"anim.gif", gif},
      {"jpeg-named.gif", jpeg},  // measured by its content
      {"png-named.jpg", png},
      {"icon-named.png", icon},
      {"bitmap-named.jpg", bmp},
      {"cut-header.png", Cut(png, 20)},
      {"cut-rows.png", Cut(png, png.size() / 2)},
      {"cut.jpg", Cut(jpeg, jpeg.size() / 3)},
      {"cut.gif", Cut(gif, 30)},
      {"empty.png", ""},
      {"sky.hdr", "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 2 +X 3\n"},
      {"notes.txt", "not an image"},
      {"png", png},  // no dot: an image all the same
      {"image_scan.pov.bak", "old"},
  };
  Folder& trip = top.folders["trip"];
  trip.files = {{"beach.jpg", EncodeTestJpeg(33, 17)}, {"map.gif", EncodeTestGif(5, 300)}};
  Folder& day = trip.folders["day-2"];
  day.files = {{"sunset.png", EncodeTestPng(80, 45)}, {"birds.gif", EncodeTestGif(40, 30)}};
  day.folders["deeper"].folders["deepest"].files = {{"last.png", EncodeTestPng(1, 1)}};
  top.folders["empty"] = {};
  top.folders["icons"].files = {{"app.png", icon}, {"small.gif", icon}};
  return top;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_platform_tree FOLDER\n");
    return 2;
  }
  Write(argv[1], Tree());
  return 0;
}
