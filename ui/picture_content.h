#pragma once
// What a picture window shows, and the size it asks for it: the same on every window
// system.
#include <optional>
#include <string>

#include "image/bitmap.h"
#include "ui/picture_fit.h"

class PictureContent {
 public:
  explicit PictureContent(double screen_share);

  // Takes the picture (flattened onto the background), or the text where there is none.
  void Set(std::optional<Bitmap> picture, const std::u16string& text);
  const Bitmap* Picture() const { return picture_ ? &*picture_ : nullptr; }
  // Empty while a picture is shown.
  const std::u16string& Text() const { return text_; }

  // The client size in pixels for it on a screen whose work area is `work` pixels: the
  // picture's, shrunk to the share of the work area, but at least `text_size` (the size
  // for a text) where the share has room for that.
  PictureSize ClientSize(PictureSize work, PictureSize text_size) const;

 private:
  double share_;
  std::optional<Bitmap> picture_;
  std::u16string text_;
};
