// What WindowCreate's flags come to, the same for both window systems.
#include <gtest/gtest.h>

#include <utility>

#include "ui/top_level_windows.h"
#include "ui/window_style.h"

namespace {

TEST(WindowStyle, APlainWindowGetsACaption) {
  for (const uint32_t flags : {0u, kWindowHidden, kWindowCentreOnScreen | kWindowNotContainer}) {
    const WindowStyle w = WindowStyleOf(flags);
    EXPECT_EQ(w.style, kWindowCaption) << flags;
    EXPECT_EQ(w.hidden, flags == kWindowHidden) << flags;
    EXPECT_EQ(w.container, (flags & kWindowNotContainer) == 0) << flags;
  }
  // Any style bit of its own: only what was asked.
  EXPECT_EQ(WindowStyleOf(kWindowSizingBorder).style, kWindowSizingBorder);
  const uint32_t main = kWindowCaption | kWindowSystemMenu | kWindowSizingBorder;
  EXPECT_EQ(WindowStyleOf(main).style, main);
}

TEST(WindowStyle, AToolWindowHasACaptionAndNeitherBoxNorStartState) {
  const WindowStyle w = WindowStyleOf(kWindowTool | kWindowMinimizeBox | kWindowMaximizeBox | kWindowStartMaximised |
                                      kWindowStartMinimised | kWindowSystemMenu);
  EXPECT_TRUE(w.tool);
  EXPECT_EQ(w.style, kWindowCaption | kWindowSystemMenu);
  // Elsewhere the boxes and start states stay.
  const uint32_t boxes = kWindowCaption | kWindowMinimizeBox | kWindowMaximizeBox | kWindowStartMaximised;
  EXPECT_EQ(WindowStyleOf(boxes).style, boxes);
}

TEST(WindowStyle, TheLayersOwnBitsNeverReachTheWindowSystem) {
  const WindowStyle w = WindowStyleOf(kWindowSizingBorder | kWindowCentreOnScreen | kWindowCentreOnOwner |
                                      kWindowNotContainer | kWindowNoActivate | kWindowHidden);
  EXPECT_EQ(w.style, kWindowSizingBorder);
  EXPECT_TRUE(w.centre_on_screen);
  EXPECT_TRUE(w.centre_on_owner);
  EXPECT_FALSE(w.container);
  EXPECT_FALSE(w.activate);
  EXPECT_TRUE(w.hidden);
  EXPECT_TRUE(WindowStyleOf(kWindowSizingBorder).activate);
}

TEST(WindowStyle, PlacementCentresFirstThenGoesWhereAskedUnlessTheSystemPlaces) {
  const WindowStyle plain = WindowStyleOf(0);
  const WindowStyle on_screen = WindowStyleOf(kWindowCentreOnScreen);
  const WindowStyle on_owner = WindowStyleOf(kWindowCentreOnOwner);
  const auto place = [](const WindowStyle& style, int64_t x, int64_t y, bool owner) {
    const WindowPlacement p = WindowPlacementOf(style, x, y, owner);
    return std::pair(p.system_position, p.place);
  };
  EXPECT_EQ(place(plain, 800, 100, true), std::pair(false, WindowPlace::kAsked));
  EXPECT_EQ(place(plain, kDefaultPosition, 100, false), std::pair(true, WindowPlace::kMade));
  EXPECT_EQ(place(plain, 800, kDefaultPosition, false), std::pair(true, WindowPlace::kMade));
  // Made where asked, the window is centred on that screen; a centred window needs no y.
  EXPECT_EQ(place(on_screen, 800, 100, false), std::pair(false, WindowPlace::kCentreOnScreen));
  EXPECT_EQ(place(on_screen, 800, kDefaultPosition, false), std::pair(false, WindowPlace::kCentreOnScreen));
  EXPECT_EQ(place(on_screen, kDefaultPosition, 100, false), std::pair(true, WindowPlace::kCentreOnScreen));
  EXPECT_EQ(place(on_owner, 10, kDefaultPosition, true), std::pair(false, WindowPlace::kCentreOnOwner));
  // Without its owner it stands where asked.
  EXPECT_EQ(place(on_owner, 10, 20, false), std::pair(false, WindowPlace::kAsked));
  EXPECT_EQ(place(on_owner, kDefaultPosition, 20, false), std::pair(true, WindowPlace::kMade));
}

}  // namespace
