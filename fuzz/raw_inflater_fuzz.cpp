// Our inflater against zlib's, on the same raw deflate data fed in the same pieces: the
// decision (the stream ends, and at which byte; it is refused, and why; or it waits for
// more) and every byte written must agree. The first input byte sets the piece size, so
// streams split anywhere are covered too.
#include <cstdio>
#include <cstdlib>

#include "support/inflate_comparison.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  constexpr size_t kLimit = size_t{1} << 20;
  const size_t piece = data[0] == 0 ? size : data[0];
  static InflateOutcome zlib, ours;  // kept: clearing a megabyte each run would be most of it
  const std::span<const uint8_t> stream(data + 1, size - 1);
  InflateWithZlib(stream, piece, kLimit, zlib);
  InflateWithRawInflater(stream, piece, kLimit, ours);
  const std::string difference = InflateDifference(zlib, ours);
  if (!difference.empty()) {
    std::fprintf(stderr, "%s\n", difference.c_str());
    std::abort();
  }
  return 0;
}
