#pragma once
// A string from text bytes in memory.
#include <cstdint>
#include <string>

#include "fs/text_format.h"

namespace TextFlag {
// With Utf8: the length counts bytes instead of characters.
inline constexpr int CountBytes = 0x40;
}  // namespace TextFlag

// Reads from `address` until `length` is used up or a zero byte (a zero unit in Utf16)
// comes first; length -1 reads up to the terminating zero, other negative lengths read
// nothing. The length counts code units in Utf16, characters in Utf8 (bytes with
// TextFlag::CountBytes) and bytes otherwise. `format` holds a TextFormat code in its low
// bits. The caller vouches that the memory holds that much text or a terminating zero.
std::u16string TextFromBytes(const void* address, int64_t length, int format);
