#pragma once
// An image's width and height from its header alone, without decoding anything: fast,
// but a file whose data is damaged still gets the size its header states.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "image/image_measure.h"

// The size the header of icon, BMP, PNG, JPEG, GIF or Radiance HDR data states, or
// nothing when the data is none of these or its header is cut short or unusable. Reads
// only the bytes the header needs; every length in the data is checked against its end.
std::optional<ImageSize> QuickImageSize(std::span<const uint8_t> data);

// The same for the regular file at path, read in small pieces (never the whole file).
std::optional<ImageSize> QuickImageFileSize(const std::u16string& path);
