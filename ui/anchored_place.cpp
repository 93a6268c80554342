#include "ui/anchored_place.h"

#include <algorithm>
#include <cmath>

ControlPlace AnchoredPlace(const ControlRecord& record, int growth_x, int growth_y) {
  const auto moved = [](int edge, double share, int by) { return edge + static_cast<int>(std::lround(share * by)); };
  const int left = moved(record.design[0], record.anchor.left, growth_x);
  const int top = moved(record.design[1], record.anchor.top, growth_y);
  const int right = moved(record.design[2], record.anchor.right, growth_x);
  const int bottom = moved(record.design[3], record.anchor.bottom, growth_y);
  return {left, top, std::max(right - left, 0), std::max(bottom - top, 0)};
}
