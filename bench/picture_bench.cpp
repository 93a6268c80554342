// Times what showing a large picture in a picture window costs: `picture_bench WIDTH
// HEIGHT [RUNS]`. The loading (ReadImagePicture and PicturePrepare of a JPEG and of a PNG
// with transparency, the part a preview does on its worker) and the showing (the window
// opened at half a 1920 x 1080 screen and drawn once, the part on the interface thread)
// are timed apart; medians in milliseconds, and the peak memory at the end. Runs on
// Qt's offscreen platform. Build it in a Release tree; it is never part of the test run.
#include <sys/resource.h>

#include <QApplication>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fs/text_encoding.h"
#include "image/image_picture.h"
#include "image/image_setup.h"
#include "support/test_images.h"
#include "ui/dpi.h"
#include "ui/events.h"
#include "ui/picture_fit.h"
#include "ui/picture_window.h"
#include "ui/qt/window_access.h"
#include "ui/top_level_windows.h"

namespace {

double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

double Ms(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

// A picture with a gradient, its alpha falling from left to right.
Bytes TransparentPng(int width, int height) {
  std::vector<Bytes> rows(static_cast<size_t>(height), Bytes(static_cast<size_t>(width) * 4));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* pixel = &rows[static_cast<size_t>(y)][static_cast<size_t>(x) * 4];
      pixel[0] = static_cast<uint8_t>(x * 255 / width);
      pixel[1] = static_cast<uint8_t>(y * 255 / height);
      pixel[2] = 128;
      pixel[3] = static_cast<uint8_t>(255 - x * 255 / width);
    }
  return EncodePng(MakePngPicture(6, 8, static_cast<uint32_t>(width), rows));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: picture_bench WIDTH HEIGHT [RUNS]\n");
    return 2;
  }
  const int width = std::atoi(argv[1]);
  const int height = std::atoi(argv[2]);
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  UiEventsInit();
  UiDpiInit();
  UiWindowsInit();
  ImageLayerStart();

  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "picture_bench";
  std::filesystem::create_directories(folder);
  const std::string jpeg = EncodeTestJpeg(width, height);
  const Bytes png = TransparentPng(width, height);
  std::ofstream(folder / "big.jpg", std::ios::binary).write(jpeg.data(), static_cast<std::streamsize>(jpeg.size()));
  std::ofstream(folder / "big.png", std::ios::binary)
      .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));

  for (const char* name : {"big.jpg", "big.png"}) {
    const std::u16string path = TextFromUtf8((folder / name).string());
    std::vector<double> loads, shows;
    for (int run = 0; run < runs; ++run) {
      auto start = std::chrono::steady_clock::now();
      std::optional<Bitmap> picture = ReadImagePicture(path);
      PicturePrepare(picture);
      loads.push_back(Ms(start));
      start = std::chrono::steady_clock::now();
      PictureWindowOpen(1, u"bench", std::move(picture), u"", 0.5, kWindowCaption | kWindowSizingBorder);
      WindowHandle(1)->grab();  // the first paint, which scales the picture
      shows.push_back(Ms(start));
      WindowClose(1);
    }
    const double load = Median(loads);
    const double show = Median(shows);
    std::printf("%s %d x %d: load %.1f ms, show %.1f ms\n", name, width, height, load, show);
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("peak memory %.0f MiB\n", static_cast<double>(usage.ru_maxrss) / 1024);
  std::filesystem::remove_all(folder);
  WindowCloseAll();
  UiWindowsEnd();
  UiEventsEnd();
  return 0;
}
