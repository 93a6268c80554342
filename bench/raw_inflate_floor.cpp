// data_floor's "ours": a PNG's zlib data inflated with our own inflater in the pieces exact
// measuring uses (64 KiB of input at a time, its 128 KiB output pieces), with libdeflate's
// Adler-32 checked against the trailer, as png_image_data.cpp checks it.
#include <libdeflate.h>

#include <algorithm>

#include "image/raw_inflater.h"

extern "C" unsigned long long raw_inflate_zlib_data(const unsigned char* data, size_t size) {
  if (size < 2) return 0;
  RawInflater inflater;
  uint32_t adler = 1;
  unsigned long long made = 0;
  std::span<const uint8_t> input(data + 2, size - 2);
  for (;;) {
    std::span<const uint8_t> piece = input.first(std::min<size_t>(input.size(), size_t{64} << 10));
    InflateStep step;
    do {
      step = inflater.Inflate(piece);
      adler = libdeflate_adler32(adler, step.output.data(), step.output.size());
      made += step.output.size();
      piece = piece.subspan(step.consumed);
      input = input.subspan(step.consumed);
    } while (step.progress == InflateProgress::OutputFull);
    if (step.progress == InflateProgress::Ended) {
      const bool sound = input.size() >= 4 && (uint32_t{input[0]} << 24 | uint32_t{input[1]} << 16 |
                                               uint32_t{input[2]} << 8 | input[3]) == adler;
      return sound ? made : 0;
    }
    if (step.progress == InflateProgress::Failed || input.empty()) return 0;
  }
}
