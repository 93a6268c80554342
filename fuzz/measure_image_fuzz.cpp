// Measuring must give exactly what loading gives: the same width and height, or failure
// for both. The file route is checked too, through a file of the target's own.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "fuzz_file.h"
#include "fuzz_image.h"
#include "fuzz_memory.h"
#include "image/image_setup.h"

namespace {

void ExpectSame(const std::optional<ImageSize>& measured, const std::optional<ImageSize>& loaded, const char* route) {
  const bool same = measured.has_value() == loaded.has_value() &&
                    (!measured || (measured->width == loaded->width && measured->height == loaded->height));
  if (same) return;
  std::fprintf(stderr, "%s measuring gives %dx%d (%s), loading %dx%d (%s)\n", route, measured ? measured->width : 0,
               measured ? measured->height : 0, measured ? "ok" : "failed", loaded ? loaded->width : 0,
               loaded ? loaded->height : 0, loaded ? "ok" : "failed");
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  LimitFuzzMemory();
  ImageLayerStart();
  MakeFuzzFile();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::optional<ImageSize> loaded = LoadedSize(data, size);
  ExpectSame(MeasureImageMemory({data, size}), loaded, "memory");
  ExpectSame(MeasureImageFile(FuzzFileWith(data, size)), loaded, "file");
  return 0;
}
