// The parts of a file replacement that are the same on every system.
#include "fs/file_replacement.h"

#include <random>

std::u16string FileReplacement::TemporaryName(const std::u16string& name) {
  std::random_device random;
  const uint64_t value = (uint64_t{random()} << 32) | random();
  std::u16string temporary = u"." + name + u".";
  for (int shift = 60; shift >= 0; shift -= 4) temporary += u"0123456789abcdef"[(value >> shift) & 0xF];
  return temporary + u".tmp";
}
