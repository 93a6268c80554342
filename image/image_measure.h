#pragma once
// Measuring an image file: the width and height loading it would give, without keeping it.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "image/image_size.h"

// The size ReadImageFile followed by ImagePixelWidth and ImagePixelHeight gives for the
// file at path, or nothing where that load fails. Uses no numbered object, so several
// threads may measure at once.
std::optional<ImageSize> MeasureImageFile(const std::u16string& path);
// The same for a source open on a file's or memory's bytes (see image_source.h).
class ImageSource;
std::optional<ImageSize> MeasureImageSource(ImageSource& source);
// The same for bytes in memory (DecodeImageMemory's counterpart), read the same way.
std::optional<ImageSize> MeasureImageMemory(std::span<const uint8_t> data);
