// Sizes from headers: never a read past the data, never a size that is not positive, and
// the same answer from memory as from a file read in pieces.
#include <cstdint>
#include <cstdlib>

#include "fuzz_file.h"
#include "image/image_setup.h"
#include "image/quick_size.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ImageLayerStart();  // quick mode walks the registered formats
  MakeFuzzFile();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto from_memory = QuickImageSize({data, size});
  if (from_memory && (from_memory->width <= 0 || from_memory->height <= 0)) std::abort();
  const auto from_file = QuickImageFileSize(FuzzFileWith(data, size));
  if (from_memory.has_value() != from_file.has_value()) std::abort();
  if (from_memory && (from_memory->width != from_file->width || from_memory->height != from_file->height)) {
    std::abort();
  }
  return 0;
}
