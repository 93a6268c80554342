#include "ui/picture_fit.h"

#include <gtest/gtest.h>

#include "image/bitmap.h"
#include "ui/picture_content.h"

namespace {

TEST(PictureFit, ShrinksToTheTighterSideKeepingTheAspectAndNeverEnlarges) {
  // Fits: its own size, however much room there is.
  EXPECT_EQ(PictureFit({20, 10}, {1000, 1000}), (PictureSize{20, 10}));
  EXPECT_EQ(PictureFit({960, 540}, {960, 540}), (PictureSize{960, 540}));
  // Too wide: the width is the limit; too tall: the height.
  EXPECT_EQ(PictureFit({4000, 1000}, {960, 540}), (PictureSize{960, 240}));
  EXPECT_EQ(PictureFit({1000, 4000}, {960, 540}), (PictureSize{135, 540}));
  // Rounded to the nearest pixel, and a sliver keeps one pixel.
  EXPECT_EQ(PictureFit({3, 2}, {2, 2}), (PictureSize{2, 1}));
  EXPECT_EQ(PictureFit({100000, 1}, {100, 100}), (PictureSize{100, 1}));
  EXPECT_EQ(PictureFit({1, 100000}, {100, 100}), (PictureSize{1, 100}));
  // The largest pictures the loader makes do not overflow.
  EXPECT_EQ(PictureFit({2147483647, 2147483647}, {3840, 2160}), (PictureSize{2160, 2160}));
  // Nothing to draw, or nowhere to draw it.
  EXPECT_EQ(PictureFit({0, 10}, {100, 100}), PictureSize{});
  EXPECT_EQ(PictureFit({10, 10}, {0, 100}), PictureSize{});
}

TEST(PictureFit, TransparencyIsBlendedOntoTheBackground) {
  auto picture = Bitmap::Create(3, 1, 32, 0);
  ASSERT_TRUE(picture);
  uint8_t* pixel = picture->Bits();
  const uint8_t pixels[12] = {10, 20, 30, 255, 200, 100, 0, 0, 255, 255, 255, 128};
  std::copy(std::begin(pixels), std::end(pixels), pixel);
  PictureFlatten(*picture);
  const uint8_t g = kPictureBackground;
  const uint8_t half = static_cast<uint8_t>((255 * 128 + g * 127 + 127) / 255);
  const uint8_t expected[12] = {10, 20, 30, 255, g, g, g, 255, half, half, half, 255};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(pixel[i], expected[i]) << "byte " << i;
}

TEST(PictureFit, PreparingFlattensAndShrinksWhatNoScreenShowsWhole) {
  std::optional<Bitmap> wide = Bitmap::Create(7680, 4, 32, 0);
  ASSERT_TRUE(wide);
  PicturePrepare(wide);
  ASSERT_TRUE(wide);
  EXPECT_EQ(wide->Width(), 3840);
  EXPECT_EQ(wide->Height(), 2);
  // Transparent black became the background.
  EXPECT_EQ(wide->Bits()[0], kPictureBackground);
  EXPECT_EQ(wide->Bits()[3], 255);
  std::optional<Bitmap> fits = Bitmap::Create(3840, 2, 24, 0);
  const uint8_t* bits = fits->Bits();
  PicturePrepare(fits);
  EXPECT_EQ(fits->Bits(), bits);  // left as it is
  std::optional<Bitmap> none;
  PicturePrepare(none);
  EXPECT_FALSE(none);
}

TEST(PictureFit, AWindowStandsBesideItsOwnerWhereThereIsRoomElseInTheMiddle) {
  const PictureRect work{0, 30, 1920, 1050};
  // Without an owner, or without room beside it: the middle of the work area.
  EXPECT_EQ(PicturePlace(work, nullptr, {960, 540}), (PictureRect{480, 285, 960, 540}));
  const PictureRect wide{300, 100, 1300, 600};
  EXPECT_EQ(PicturePlace(work, &wide, {960, 540}), (PictureRect{480, 285, 960, 540}));
  // Left of it first, level with its middle; else right of it.
  const PictureRect right_half{1000, 100, 600, 600};
  EXPECT_EQ(PicturePlace(work, &right_half, {960, 540}), (PictureRect{40, 130, 960, 540}));
  const PictureRect middle{700, 100, 500, 600};
  EXPECT_EQ(PicturePlace(work, &middle, {400, 300}), (PictureRect{300, 250, 400, 300}));
  const PictureRect at_left{0, 100, 600, 600};
  EXPECT_EQ(PicturePlace(work, &at_left, {960, 540}), (PictureRect{600, 130, 960, 540}));
  // Kept inside the work area; where larger, its top left corner shows.
  const PictureRect high{1000, 0, 600, 100};
  EXPECT_EQ(PicturePlace(work, &high, {400, 300}), (PictureRect{600, 30, 400, 300}));
  EXPECT_EQ(PicturePlace(work, nullptr, {2000, 1200}), (PictureRect{0, 30, 2000, 1200}));
  EXPECT_EQ(PictureKeepInside(work, {1800, 900, 400, 300}), (PictureRect{1520, 780, 400, 300}));
}

TEST(PictureFit, AResizedWindowBesideItsOwnerKeepsTheEdgeThatFacesIt) {
  const PictureRect work{0, 0, 1920, 1080};
  const PictureRect owner{1000, 100, 600, 600};
  // Left of it: the right edge stays, the middle stays level.
  EXPECT_EQ(PictureResize(work, &owner, {600, 325, 400, 150}, {960, 540}), (PictureRect{40, 130, 960, 540}));
  // Right of it: the left edge stays.
  EXPECT_EQ(PictureResize(work, &owner, {1600, 325, 300, 150}, {200, 100}), (PictureRect{1600, 350, 200, 100}));
  // Over it (the user moved it there), or without an owner: about its middle, inside the work area.
  EXPECT_EQ(PictureResize(work, &owner, {1100, 200, 400, 150}, {200, 50}), (PictureRect{1200, 250, 200, 50}));
  EXPECT_EQ(PictureResize(work, nullptr, {1700, 0, 200, 100}, {400, 300}), (PictureRect{1520, 0, 400, 300}));
}

TEST(PictureContent, AsksForThePictureSizeWithinItsShareOrTheTextSize) {
  PictureContent half(0.5);
  half.Set(Bitmap::Create(4000, 1000, 24, 0), u"unused");
  EXPECT_TRUE(half.Text().empty());
  EXPECT_EQ(half.ClientSize({1920, 1080}, {400, 150}), (PictureSize{960, 240}));
  half.Set(std::nullopt, u"cannot be read as an image");
  EXPECT_EQ(half.Picture(), nullptr);
  EXPECT_EQ(half.Text(), u"cannot be read as an image");
  EXPECT_EQ(half.ClientSize({1920, 1080}, {400, 150}), (PictureSize{400, 150}));
  EXPECT_EQ(half.ClientSize({640, 200}, {400, 150}), (PictureSize{320, 100}));
  // A small picture gets a text's room around it, as far as the share has it.
  half.Set(Bitmap::Create(40, 20, 24, 0), u"");
  EXPECT_EQ(half.ClientSize({1920, 1080}, {400, 150}), (PictureSize{400, 150}));
  EXPECT_EQ(half.ClientSize({200, 1080}, {400, 150}), (PictureSize{100, 150}));
  half.Set(Bitmap::Create(40, 2000, 24, 0), u"");
  EXPECT_EQ(half.ClientSize({1920, 1080}, {400, 150}), (PictureSize{400, 540}));
  // A share out of range is taken as the nearest sensible one.
  PictureContent whole(7);
  whole.Set(Bitmap::Create(4000, 1000, 24, 0), u"");
  EXPECT_EQ(whole.ClientSize({1920, 1080}, {400, 150}), (PictureSize{1920, 480}));
}

}  // namespace
