// Times measuring an image file against loading it whole, on large files made here:
// `measure_bench [RUNS [FOLDER]]`. Prints the median of each and their ratio. Given a
// folder, the files are left in it, one subfolder each, for imagescan-cli under
// /usr/bin/time -v (peak memory). Build it in a Release tree; it is never part of the
// test run.
#include <png.h>

#include <algorithm>
#include <chrono>
#include <cstdio>  // jpeglib.h needs FILE and size_t
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "fs/text_encoding.h"
#include "image/image_loader.h"
#include "image/image_measure.h"
#include "image/image_setup.h"
#include "image/image_table.h"
#include "support/test_images.h"

namespace {

// A photo-like picture: smooth gradients with some grain, which encoders treat much as
// they treat a photograph.
Bytes PhotoSamples(int width, int height, int components) {
  Bytes samples(static_cast<size_t>(width) * static_cast<size_t>(height) * static_cast<size_t>(components));
  uint32_t grain = 1;
  size_t i = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < components; ++c) {
        grain = grain * 1103515245 + 12345;
        const int base = (x * (c + 1) / 16 + y * (3 - c) / 12) % 256;
        samples[i++] = static_cast<uint8_t>(std::clamp(base + static_cast<int>(grain >> 28) - 8, 0, 255));
      }
    }
  }
  return samples;
}

Bytes LargePng(int width, int height) {
  const Bytes samples = PhotoSamples(width, height, 3);
  std::vector<Bytes> rows;
  const auto stride = static_cast<size_t>(width) * 3;
  for (int y = 0; y < height; ++y) {
    const auto start = samples.begin() + static_cast<ptrdiff_t>(stride * static_cast<size_t>(y));
    rows.emplace_back(start, start + static_cast<ptrdiff_t>(stride));
  }
  return EncodePng(MakePngPicture(PNG_COLOR_TYPE_RGB, 8, static_cast<uint32_t>(width), rows));
}

Bytes AnimatedGif(int width, int height, int frames) {
  std::vector<GifRgb> map;
  for (int i = 0; i < 256; ++i)
    map.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i / 2)});
  std::vector<GifFrame> list;
  for (int f = 0; f < frames; ++f) {
    GifFrame frame;
    frame.width = width;
    frame.height = height;
    frame.control = true;
    frame.disposal = 1;
    frame.delay = 4;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) frame.raster.push_back(static_cast<uint8_t>((x / 8 + y / 8 + f * 5) % 256));
    list.push_back(std::move(frame));
  }
  return EncodeGif(width, height, map, 0, list);
}

double MedianMilliseconds(int runs, const std::function<bool()>& work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    if (!work()) {
      std::fprintf(stderr, "a run failed\n");
      std::exit(1);
    }
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const bool keep = argc > 2;
  const auto folder =
      keep ? std::filesystem::path(argv[2]) : std::filesystem::temp_directory_path() / "imagescan-measure-bench";
  std::filesystem::create_directories(folder);
  ImageLayerStart();

  struct Case {
    const char* name;
    const char* file;
    Bytes bytes;
  };
  std::fprintf(stderr, "making the files...\n");
  const Bytes photo = PhotoSamples(4000, 3000, 3);
  std::vector<Case> cases;
  cases.push_back({"jpeg 4000x3000 baseline", "baseline.jpg", EncodeJpeg(4000, 3000, 3, JCS_RGB, photo, false, 90)});
  cases.push_back(
      {"jpeg 4000x3000 progressive", "progressive.jpg", EncodeJpeg(4000, 3000, 3, JCS_RGB, photo, true, 90)});
  cases.push_back({"png 4000x3000 rgb", "rgb.png", LargePng(4000, 3000)});
  cases.push_back({"gif 800x600, 30 frames", "animated.gif", AnimatedGif(800, 600, 30)});

  std::printf("%-28s %10s %12s %12s %8s\n", "file", "bytes", "load ms", "measure ms", "ratio");
  for (const Case& c : cases) {
    const auto path = folder / c.file / c.file;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(c.bytes.data()), static_cast<std::streamsize>(c.bytes.size()));
    const std::u16string name = TextFromEscapedBytes(path.string());
    const double load = MedianMilliseconds(runs, [&] {
      const int64_t id = ReadImageFile(kAutoNumber, name);
      ReleaseImage(id);
      return id != 0;
    });
    const double measure = MedianMilliseconds(runs, [&] { return MeasureImageFile(name).has_value(); });
    std::printf("%-28s %10zu %12.1f %12.1f %8.1f\n", c.name, c.bytes.size(), load, measure, load / measure);
  }
  ImageLayerStop();
  if (!keep) std::filesystem::remove_all(folder);
  return 0;
}
