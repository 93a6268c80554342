#pragma once
// Fitting a picture into the room a window has for it, the same on every window system.
#include <cstdint>
#include <optional>

class Bitmap;

struct PictureSize {
  int64_t width = 0;
  int64_t height = 0;
  bool operator==(const PictureSize&) const = default;
};

// A window's frame on the screen, or a screen's work area, in pixels.
struct PictureRect {
  int64_t x = 0;
  int64_t y = 0;
  int64_t width = 0;
  int64_t height = 0;
  bool operator==(const PictureRect&) const = default;
};

// The neutral grey a picture window shows around its picture and behind its transparent
// parts (each of red, green and blue).
inline constexpr uint8_t kPictureBackground = 0x60;

// The size the picture is drawn at in the area: its own size where that fits, else shrunk
// to fit keeping its aspect (rounded to the nearest pixel, at least 1 x 1); never
// enlarged. 0 x 0 for an empty picture or area.
PictureSize PictureFit(PictureSize picture, PictureSize area);

// The most of a picture any window shows: the size of a 4K screen.
inline constexpr PictureSize kLargestShown{3840, 2160};

// Readies a picture for a picture window on any thread, so that the interface thread has
// little left to do with it: flattens it, and shrinks one larger than kLargestShown to
// fit that (no window up to that size could show it larger). Memory too short for the
// smaller copy leaves the picture as it was.
void PicturePrepare(std::optional<Bitmap>& picture);

// Blends a 32-bit picture's pixels onto kPictureBackground by their alpha and leaves
// them opaque, so that any window system draws it as it is meant to look; a 24-bit
// picture has nothing to blend.
void PictureFlatten(Bitmap& picture);

// Where a picture window's frame of `frame` size stands in the work area: beside its
// owner's frame where there is room for it, on the left first (the owner's lists stay in
// sight), level with the owner's middle; else, as without an owner, in the middle of the
// work area. Kept inside the work area wherever it fits.
PictureRect PicturePlace(PictureRect work, const PictureRect* owner, PictureSize frame);
// Where a picture window's frame stands after its size changed to `size`: a frame beside
// its owner keeps the edge that faces the owner (it never grows over it), any other its
// middle; then inside the work area.
PictureRect PictureResize(PictureRect work, const PictureRect* owner, PictureRect frame, PictureSize size);
// The frame moved (not resized) as little as it takes to lie inside the work area.
PictureRect PictureKeepInside(PictureRect work, PictureRect frame);
