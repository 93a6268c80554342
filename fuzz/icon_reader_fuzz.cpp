// Icon directories and the entries they point to: a chosen image inside the data, or
// nothing.
#include <cstdint>
#include <cstdlib>

#include "image/icon_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ImageSource source({data, size});
  const auto icon = ReadIcon(source);
  if (icon && (icon->width <= 0 || icon->height <= 0)) std::abort();
  return 0;
}
