#pragma once
// Each image's LZW data of a GIF stream read twice, by giflib line by line and by
// SkipGifImageData, to compare their decisions.
#include <cstdint>
#include <span>
#include <vector>

struct GifDataOutcome {
  int error = 0;     // 0, or giflib's D_GIF_ERR_*
  uint64_t end = 0;  // the offset after the last byte read
  bool operator==(const GifDataOutcome&) const = default;
};

struct GifDataComparison {
  GifDataOutcome giflib;
  GifDataOutcome ours;
};

// One comparison per image, in stream order, up to the first image giflib fails on or
// the first record it cannot read.
std::vector<GifDataComparison> CompareGifImageData(std::span<const uint8_t> gif);
