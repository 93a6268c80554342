// Any bytes through the loader: the icon reader, then every registered decoder in its
// order. A result or a refusal, never a crash, a leak or a sanitizer report.
#include "fuzz_image.h"
#include "fuzz_memory.h"
#include "image/image_setup.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  LimitFuzzMemory();
  ImageLayerStart();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  LoadedSize(data, size);
  return 0;
}
