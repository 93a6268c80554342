#pragma once
// Windows counts file times in 100 ns steps from 1601; stamps count nanoseconds from 1970.
#include <cstdint>

inline int64_t NanosecondsSince1970(int64_t steps_since_1601) {
  constexpr int64_t kFrom1601To1970 = 116444736000000000;
  return (steps_since_1601 - kFrom1601To1970) * 100;
}
