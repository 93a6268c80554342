#include "ui/picture_content.h"

#include <algorithm>
#include <utility>

namespace {

// A share too small would leave a window of a few pixels.
constexpr double kLeastShare = 0.05;

}  // namespace

PictureContent::PictureContent(double screen_share) : share_(std::clamp(screen_share, kLeastShare, 1.0)) {}

void PictureContent::Set(std::optional<Bitmap> picture, const std::u16string& text) {
  picture_ = std::move(picture);
  if (picture_) PictureFlatten(*picture_);
  text_ = picture_ ? std::u16string() : text;
}

PictureSize PictureContent::ClientSize(PictureSize work, PictureSize text_size) const {
  const PictureSize room{static_cast<int64_t>(static_cast<double>(work.width) * share_),
                         static_cast<int64_t>(static_cast<double>(work.height) * share_)};
  const PictureSize wanted = picture_ ? PictureSize{picture_->Width(), picture_->Height()} : text_size;
  const PictureSize fitted = PictureFit(wanted, room);
  // A small picture gets the room of a text around it: its title stays readable.
  return {std::max({int64_t{1}, fitted.width, std::min(text_size.width, room.width)}),
          std::max({int64_t{1}, fitted.height, std::min(text_size.height, room.height)})};
}
