#pragma once
// Loading numbered images from files and memory. The format is found by content only:
// the icon reader first, then each registered decoder in registration order.
#include <cstdint>
#include <span>
#include <string>

// Loads the image file at path under number (a slot, or kAutoNumber for a fresh id).
// Returns 0 on failure; else the fresh id for kAutoNumber, otherwise a non-zero handle.
// A file that cannot be read whole (see ReadWholeFile) leaves the slot as it was.
int64_t ReadImageFile(int64_t number, const std::u16string& path);
// The same from bytes in memory. An image the slot held is released first, so after a
// failed load the slot is empty.
int64_t DecodeImageMemory(int64_t number, std::span<const uint8_t> data);
