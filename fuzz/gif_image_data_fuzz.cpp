// Each image's LZW data measured by SkipGifImageData and read by giflib line by line:
// any difference in the decision or in where the reading stops is a finding.
#include <cstdlib>

#include "tests/support/gif_data_reference.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (const auto& comparison : CompareGifImageData({data, size})) {
    if (!(comparison.giflib == comparison.ours)) std::abort();
  }
  return 0;
}
