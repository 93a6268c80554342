#pragma once
// An image's picture on its own: decoded as the loader decodes it, but kept by the caller
// rather than in the image table, so that any thread may load one (a preview loading off
// the interface thread, say).
#include <optional>
#include <span>
#include <string>

#include "image/bitmap.h"
#include "image/decoder.h"

// The first picture of the image file at path (an animation's first frame); nothing
// where the loader would refuse the file, and for an icon, which the loader keeps
// without a picture.
std::optional<Bitmap> ReadImagePicture(const std::u16string& path);

// The next frame of the image a decoder has accepted into the context, its bytes counted
// against the pixel limit there; nothing where it cannot be made or decoded.
std::optional<Bitmap> DecodeNextFrame(DecodeContext& context);
