#pragma once
// Fitting a picture into the room a window has for it, the same on every window system.
#include <cstdint>

class Bitmap;

struct PictureSize {
  int64_t width = 0;
  int64_t height = 0;
  bool operator==(const PictureSize&) const = default;
};

// The neutral grey a picture window shows around its picture and behind its transparent
// parts (each of red, green and blue).
inline constexpr uint8_t kPictureBackground = 0x60;

// The size the picture is drawn at in the area: its own size where that fits, else shrunk
// to fit keeping its aspect (rounded to the nearest pixel, at least 1 x 1); never
// enlarged. 0 x 0 for an empty picture or area.
PictureSize PictureFit(PictureSize picture, PictureSize area);

// Blends a 32-bit picture's pixels onto kPictureBackground by their alpha and leaves
// them opaque, so that any window system draws it as it is meant to look; a 24-bit
// picture has nothing to blend.
void PictureFlatten(Bitmap& picture);
