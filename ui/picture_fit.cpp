#include "ui/picture_fit.h"

#include <algorithm>
#include <utility>

#include "image/bitmap.h"
#include "image/bitmap_shrink.h"

PictureSize PictureFit(PictureSize picture, PictureSize area) {
  if (picture.width <= 0 || picture.height <= 0 || area.width <= 0 || area.height <= 0) return {};
  if (picture.width <= area.width && picture.height <= area.height) return picture;
  // Sizes stay far below 2^32 each, so the products cannot overflow 64 bits.
  const auto scaled = [](int64_t side, int64_t to, int64_t from) {
    return std::max<int64_t>(1, (side * to + from / 2) / from);
  };
  // Wider than the area's shape: the width is the limit; else the height.
  if (picture.width * area.height > picture.height * area.width)
    return {area.width, std::min(area.height, scaled(picture.height, area.width, picture.width))};
  return {std::min(area.width, scaled(picture.width, area.height, picture.height)), area.height};
}

void PictureFlatten(Bitmap& picture) {
  if (picture.Depth() != 32) return;
  for (int32_t row = 0; row < picture.Height(); ++row) {
    uint8_t* pixel = picture.Bits() + row * picture.Pitch();
    for (int32_t x = 0; x < picture.Width(); ++x, pixel += 4) {
      const unsigned alpha = pixel[3];
      for (int channel = 0; channel < 3; ++channel)
        pixel[channel] =
            static_cast<uint8_t>((pixel[channel] * alpha + kPictureBackground * (255 - alpha) + 127) / 255);
      pixel[3] = 255;
    }
  }
}

PictureRect PicturePlace(PictureRect work, const PictureRect* owner, PictureSize frame) {
  PictureRect placed{work.x + (work.width - frame.width) / 2, work.y + (work.height - frame.height) / 2, frame.width,
                     frame.height};
  if (owner) {
    const int64_t left_room = owner->x - work.x;
    const int64_t right_room = work.x + work.width - (owner->x + owner->width);
    if (left_room >= frame.width || right_room >= frame.width) {
      placed.x = left_room >= frame.width ? owner->x - frame.width : owner->x + owner->width;
      placed.y = owner->y + (owner->height - frame.height) / 2;
    }
  }
  return PictureKeepInside(work, placed);
}

PictureRect PictureResize(PictureRect work, const PictureRect* owner, PictureRect frame, PictureSize size) {
  PictureRect resized{frame.x + (frame.width - size.width) / 2, frame.y + (frame.height - size.height) / 2, size.width,
                      size.height};
  if (owner && frame.x + frame.width <= owner->x) resized.x = frame.x + frame.width - size.width;
  if (owner && frame.x >= owner->x + owner->width) resized.x = frame.x;
  return PictureKeepInside(work, resized);
}

PictureRect PictureKeepInside(PictureRect work, PictureRect frame) {
  // Where it is larger than the work area, its top left corner is what stays in sight.
  frame.x = std::max(work.x, std::min(frame.x, work.x + work.width - frame.width));
  frame.y = std::max(work.y, std::min(frame.y, work.y + work.height - frame.height));
  return frame;
}

void PicturePrepare(std::optional<Bitmap>& picture) {
  if (!picture) return;
  PictureFlatten(*picture);
  const PictureSize size{picture->Width(), picture->Height()};
  const PictureSize fitted = PictureFit(size, kLargestShown);
  if (fitted == size) return;
  if (std::optional<Bitmap> smaller =
          ShrinkBitmap(*picture, static_cast<int32_t>(fitted.width), static_cast<int32_t>(fitted.height)))
    picture = std::move(smaller);
}
