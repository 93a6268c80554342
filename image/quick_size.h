#pragma once
// An image's width and height from its header alone, without decoding anything: fast,
// but a file whose data is damaged still gets the size its header states, and a Radiance
// HDR file the size of its resolution line.
#include <optional>
#include <span>
#include <string>

#include "image/image_size.h"

// The size the header of the registered format that the data's first bytes name states
// (see DecoderDescriptor::header_size), or nothing when no format takes them, or the
// header is cut short or would make the loader refuse the data (its picture too large
// for the pixel limit included, see pixel_limit.h). Reads only the bytes the
// header needs; every length in the data is checked against its end.
std::optional<ImageSize> QuickImageSize(std::span<const uint8_t> data);

// The same for a source open on a file's or memory's bytes (see image_source.h).
class ImageSource;
std::optional<ImageSize> QuickImageSourceSize(ImageSource& source);

// The same for the file at path, where ReadImageFile would read it (a regular file
// below kWholeFileLimit bytes), read in pieces (never the whole file).
std::optional<ImageSize> QuickImageFileSize(const std::u16string& path);
