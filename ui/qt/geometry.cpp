#include "ui/qt/geometry.h"

#include <algorithm>

namespace {

constexpr int64_t kLimit = int64_t{1} << 24;

}  // namespace

int QtCoordinate(int64_t value) { return static_cast<int>(std::clamp(value, -kLimit, kLimit)); }

int QtSize(int64_t value) { return static_cast<int>(std::clamp<int64_t>(value, 0, kLimit)); }
